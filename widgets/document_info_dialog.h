#pragma once

#include <QDialog>

#include "core/document_info.h"

// What a reading or writing of a list file reported: the file, its format and the numbers
// of cards. The dialog keeps its own copies of the texts; the report may go away.
class DocumentInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit DocumentInfoDialog(const DocumentInfo& info, QWidget* parent = nullptr);
};

// Runs the dialog for the report, modal over `owner`.
void showDocumentInfo(const DocumentInfo& info, QWidget* owner);
