#pragma once

#include <QAbstractListModel>

class ImportSource;

// Every row of a file that is not taken or is changed on the way, one line each ("Line 7:
// not taken: the question is empty"). The lines are made only when the view shows them, so
// that a file of a million such rows opens as quickly as a small one.
class ImportProblemModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ImportProblemModel(QObject* parent = nullptr);

    // Shows the noted rows of the source, which must outlive the model or the next fill.
    void fill(const ImportSource& source);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const ImportSource* source_ = nullptr;
};
