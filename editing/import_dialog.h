#pragma once

#include <QDialog>

#include <optional>

#include "core/fsrs.h"
#include "core/import_source.h"

class ImportPreviewModel;
struct ImportReport;
class ImportProblemModel;
class ListSession;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class WindowRegistry;

// "Import Cards": what a file of another program would give before anything changes. A
// table shows the first rows as the cards they become, a list every row that is not taken
// or is changed on the way, and a line how many cards there will be. For a text file the
// user chooses the encoding, the separator, whether the first row names the columns and
// which column goes where; a KVTML document has its cards fixed. "Import" adds the cards,
// "Cancel" leaves everything as it was.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // The Import command: asks for a file, reads it, shows it and adds the cards once the
    // user confirms. A file that is no text or no readable KVTML gets a message instead.
    static void run(ListSession& session, WindowRegistry& windows, QWidget* parent);

    ImportDialog(ImportSource source, const QString& fileName, QWidget* parent);
    ~ImportDialog() override;

    const ImportSource& source() const { return source_; }

    // How many rows the table shows.
    static constexpr std::size_t kPreviewRows = 200;

private:
    // Says what an Anki import brought, and offers the deck's FSRS weights when there are.
    static void reportAnkiImport(ListSession& session, const ImportReport& report,
                                 const std::optional<FsrsWeights>& weights, QWidget* parent);
    void buildTextChoices();
    void readAgain();
    void takeMapping();
    // Sets every control from the source, without reading it again.
    void showSource();
    void fillColumnBoxes();
    // What becomes of the columns Anki's header lines name.
    QString ankiColumnsText() const;

    ImportSource source_;
    ImportPreviewModel* preview_;
    ImportProblemModel* problems_;
    QLabel* summary_;
    QPushButton* importButton_;
    QComboBox* encoding_ = nullptr;
    QComboBox* separator_ = nullptr;
    QLineEdit* otherSeparator_ = nullptr;
    QCheckBox* header_ = nullptr;
    QCheckBox* html_ = nullptr;
    QLabel* ankiNote_ = nullptr;
    QComboBox* question_ = nullptr;
    QComboBox* answer_ = nullptr;
    QComboBox* lesson_ = nullptr;
    QComboBox* addInfo_ = nullptr;
};
