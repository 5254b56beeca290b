#pragma once

#include <QCoreApplication>
#include <QString>

struct DocumentInfo;

// Sentences that say which file failed and why, from a DocumentInfo's failure and system
// error number, for the boxes that report a failed read or save.
class FileFailureText {
    Q_DECLARE_TR_FUNCTIONS(FileFailureText)

public:
    // Why the list file `path` could not be read; empty when the reader has said it already
    // (a file of the old format).
    static QString reading(const DocumentInfo& info, const QString& path);
    // Why `path` was not saved: one line to put under "There was an error while saving cards."
    static QString saving(const DocumentInfo& info, const QString& path);
};
