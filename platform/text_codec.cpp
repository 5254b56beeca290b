#include "platform/text_codec.h"

#include <QTextBoundaryFinder>

QString fromCardText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<std::string> toCardText(const QString& text) {
    if (!unrepresentableCharacters(text).isEmpty())
        return std::nullopt;
    return text.toStdString();
}

QString unrepresentableCharacters(const QString& text) {
    QString found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate() && !found.contains(c))
            found.append(c);
    }
    return found;
}

namespace {

// Where the first `count` characters end, in UTF-16 units, or -1 when the text holds no
// more than that.
qsizetype endOfCharacters(const QString& text, int count) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int seen = 0;
    while (finder.toNextBoundary() >= 0) {
        if (++seen == count)
            return finder.position() < text.size() ? finder.position() : -1;
    }
    return -1;
}

}  // namespace

int characterCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

QString firstCharacters(const QString& text, int count) {
    if (count <= 0)
        return QString();
    const qsizetype end = endOfCharacters(text, count);
    return end < 0 ? text : text.left(end);
}
