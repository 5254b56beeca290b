#pragma once

#include <QValidator>
#include <string>

class QLineEdit;
class QWidget;

// Keeps a card text box within its limit, counted in characters as a reader counts them
// (a letter with its accents is one, as is a letter outside the first 65,536), where a
// line edit's own limit counts UTF-16 units. Like that limit, an edit that would go beyond
// it keeps only as much of what was just typed, pasted or committed by an input method as
// fits.
class CardTextValidator : public QValidator {
    Q_OBJECT
public:
    explicit CardTextValidator(int maxCharacters, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;
    int maxCharacters() const { return maxCharacters_; }

private:
    int maxCharacters_;
};

// Limits the box to `maxCharacters` characters (see CardTextValidator).
void limitCharacters(QLineEdit* box, int maxCharacters);

// The field's text as card bytes. When the text holds characters a list file cannot hold
// (possible when a text was put into the field by the program or the field has no
// validator), shows an error box owned by `owner` naming them and returns false; `out`
// is then unchanged.
bool readCardText(const QLineEdit* field, std::string& out, QWidget* owner);
// The message of that error box.
QString unstorableTextMessage(const QString& characters);
