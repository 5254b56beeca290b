#pragma once

#include <QValidator>
#include <string>

class QLineEdit;
class QWidget;

// Refuses an edit that would put a character into a field that a list file cannot hold
// (list files store card texts as Windows-1252), and beeps instead. Typing and pasting
// alike: a pasted text with such a character is refused as a whole.
class CardTextValidator : public QValidator {
    Q_OBJECT
public:
    explicit CardTextValidator(QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;
};

// The field's text as card bytes. When the text holds characters a list file cannot hold
// (possible when a text was put into the field by the program or the field has no
// validator), shows an error box owned by `owner` naming them and returns false; `out`
// is then unchanged.
bool readCardText(const QLineEdit* field, std::string& out, QWidget* owner);
// The message of that error box.
QString unstorableTextMessage(const QString& characters);
