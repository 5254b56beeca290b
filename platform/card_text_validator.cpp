#include "platform/card_text_validator.h"

#include <QLineEdit>
#include <algorithm>

#include "core/message_ids.h"
#include "platform/prompts.h"
#include "platform/string_table.h"
#include "platform/text_codec.h"

CardTextValidator::CardTextValidator(int maxCharacters, QObject* parent)
    : QValidator(parent), maxCharacters_(maxCharacters) {}

QValidator::State CardTextValidator::validate(QString& input, int& pos) const {
    if (input.size() <= maxCharacters_ || characterCount(input) <= maxCharacters_)
        return Acceptable;
    // What was just put in ends at the cursor: cut from there back until the text fits.
    const QString after = input.mid(pos);
    const int room = maxCharacters_ - characterCount(after);
    const QString before = firstCharacters(input.left(pos), std::max(room, 0));
    if (room < 0 || before.size() == pos)
        return Invalid;  // nothing new to cut: the text was over the limit before
    input = before + after;
    pos = static_cast<int>(before.size());
    return Acceptable;
}

void limitCharacters(QLineEdit* box, int maxCharacters) {
    const QValidator* old = box->validator();
    box->setValidator(new CardTextValidator(maxCharacters, box));
    delete old;
}

QString unstorableTextMessage(const QString& characters) {
    QStringList quoted;
    QStringView rest(characters);
    while (!rest.isEmpty()) {
        const qsizetype length = rest.front().isHighSurrogate() && rest.size() > 1 ? 2 : 1;
        quoted.append(QStringLiteral("\"%1\"").arg(rest.left(length)));
        rest = rest.mid(length);
    }
    return QStringLiteral("The text contains characters that cannot be stored in a list file: %1.")
        .arg(quoted.join(QStringLiteral(", ")));
}

bool readCardText(const QLineEdit* field, std::string& out, QWidget* owner) {
    const QString text = field->text();
    if (auto bytes = toCardText(text)) {
        out = std::move(*bytes);
        return true;
    }
    prompts().message(owner, PromptIcon::Error, stringText(Msg::ErrorCaption),
                      unstorableTextMessage(unrepresentableCharacters(text)));
    return false;
}
