#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QSet>
#include <QStyle>
#include <QStyleFactory>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtTest>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/log_font.h"
#include "core/preferences.h"
#include "exam/confirm_answer_dialog.h"
#include "tests/support/test_environment.h"
#include "widgets/answer_diff_view.h"
#include "widgets/answer_feedback_line.h"

namespace {

struct Marked {
    QStringList struck;
    QStringList underlined;
    QList<QColor> colours;  // of every marked run
};

// What the view marks, read back from the rich text the way it is drawn.
Marked marksOf(const QLabel* view) {
    QTextDocument document;
    document.setHtml(view->text());
    Marked marked;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.fontStrikeOut())
                marked.struck << it.fragment().text();
            if (format.fontUnderline())
                marked.underlined << it.fragment().text();
            if (format.fontStrikeOut() || format.fontUnderline())
                marked.colours << format.foreground().color();
        }
    }
    return marked;
}

// WCAG contrast ratio of two colours.
double contrast(const QColor& a, const QColor& b) {
    auto luminance = [](const QColor& c) {
        auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A dark palette as desktop themes make them: light text on dark grey.
QPalette darkPalette() {
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2B, 0x2B, 0x2B));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(0xE6, 0xE6, 0xE6));
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    return dark;
}

// Counts the times a widget appears: each appearance is what screen readers are told of
// (Qt reports it to them as the object being shown).
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

}  // namespace

class AnswerFeedbackTest : public QObject {
    Q_OBJECT
private slots:
    void confirmationShowsTheDifference_data();
    void confirmationShowsTheDifference();
    void marksReadOnLightAndDarkPalettes_data();
    void marksReadOnLightAndDarkPalettes();
    void feedbackLineIsReadOutEveryTime();
};

void AnswerFeedbackTest::confirmationShowsTheDifference_data() {
    QTest::addColumn<QByteArray>("stored");  // card text, Windows-1252
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<bool>("strictOrder");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("struck");
    QTest::addColumn<QStringList>("underlined");

    QTest::newRow("missing letter")
        << QByteArray("trinken") << QByteArray("trinkn") << false
        << "typed trinkn, stored trinken: missing e after k" << QStringList{} << QStringList{"e"};
    QTest::newRow("accent left out")
        << QByteArray("caf\xE9") << QByteArray("cafe") << false
        << QString::fromUtf8("typed cafe, stored caf\xC3\xA9: e instead of \xC3\xA9")
        << QStringList{"e"} << QStringList{QString::fromUtf8("\xC3\xA9")};
    QTest::newRow("blank at the end is made visible")
        << QByteArray("car") << QByteArray("car ") << false
        << "typed car , stored car: extra space at the end" << QStringList{QString(QChar(0x2423))}
        << QStringList{};
    QTest::newRow("meanings in another order")
        << QByteArray("house, home") << QByteArray("home, house") << true
        << "the right meanings in another order: house, home" << QStringList{"m", "us"}
        << QStringList{"us", "m"};
}

void AnswerFeedbackTest::confirmationShowsTheDifference() {
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, typed);
    QFETCH(bool, strictOrder);
    QFETCH(QString, description);
    QFETCH(QStringList, struck);
    QFETCH(QStringList, underlined);
    TestEnvironment env;
    CardStore store;
    Card& card = addCard(store, store.unknownList, "Frage", stored.toStdString(), "L1", "");
    Preferences preferences;
    preferences.strictOrder = strictOrder;
    const LogFont font = defaultDocumentFont();
    ConfirmAnswerDialog dialog(store, card, typed.toStdString(), preferences, font, font);

    auto* view = dialog.findChild<AnswerDiffView*>(QStringLiteral("answerDifference"));
    QVERIFY(view);
    QCOMPARE(view->accessibleName(), description);
    const Marked marked = marksOf(view);
    QCOMPARE(marked.struck, struck);
    QCOMPARE(marked.underlined, underlined);
    // Labelled like the boxes above it, and out of the way of Tab.
    bool labelled = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labelled = labelled || (label->buddy() == view && label->text() == "Difference");
    QVERIFY(labelled);
    QVERIFY(!(view->focusPolicy() & Qt::TabFocus));
}

void AnswerFeedbackTest::marksReadOnLightAndDarkPalettes_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

void AnswerFeedbackTest::marksReadOnLightAndDarkPalettes() {
    QFETCH(bool, dark);
    TestEnvironment env;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QPalette palette = dark ? darkPalette() : QApplication::style()->standardPalette();
    CardStore store;
    Card& card = addCard(store, store.unknownList, "trinken", "drink, beverage", "L1", "");
    const LogFont font = defaultDocumentFont();
    Preferences preferences;
    ConfirmAnswerDialog dialog(store, card, "drnik, beverages, cup", preferences, font, font);
    dialog.setPalette(palette);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    auto* view = dialog.findChild<AnswerDiffView*>(QStringLiteral("answerDifference"));
    const Marked marked = marksOf(view);
    QVERIFY(!marked.colours.isEmpty());
    const QColor background = view->palette().color(QPalette::Window);
    for (const QColor& colour : marked.colours) {
        QVERIFY2(contrast(colour, background) >= 4.5,
                 qPrintable(colour.name() + " on " + background.name()));
    }
    // At normal size strike and underline are at least two pixel rows thick: rows with a
    // long run in the mark's own colour, which letters alone do not have.
    const QImage image = view->grab().toImage();
    QSet<QRgb> colours;  // struck and underlined
    for (const QColor& colour : marked.colours)
        colours << colour.rgb();
    QCOMPARE(colours.size(), 2);
    for (const QRgb colour : colours) {
        int rows = 0;
        for (int y = 0; y < image.height(); ++y) {
            int run = 0;
            for (int x = 0; x < image.width() && run < 7; ++x)
                run = image.pixel(x, y) == colour ? run + 1 : 0;
            rows += run >= 7 ? 1 : 0;
        }
        QVERIFY2(rows >= 2, qPrintable(QColor(colour).name()));
    }

    // Pictures of the dialog for the documentation, when asked for.
    const QString folder = qEnvironmentVariable("KARTOMATRIX_SCREENSHOTS");
    if (!folder.isEmpty()) {
        const QString name = dark ? "confirm-difference-dark.png" : "confirm-difference-light.png";
        QVERIFY(dialog.grab().save(QDir(folder).filePath(name)));
    }
}

void AnswerFeedbackTest::feedbackLineIsReadOutEveryTime() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* line = new AnswerFeedbackLine(&window);
    layout->addWidget(line);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!line->isVisible());

    ShowCounter counter;
    line->installEventFilter(&counter);

    line->showTolerated(ToleratedDifference::None, QString());
    line->showTolerated(ToleratedDifference::None, QString());
    line->showTolerated(ToleratedDifference::Accents, QString::fromUtf8("caf\xC3\xA9"));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(line);
    QVERIFY(accessible);
    const QString spoken = accessible->text(QAccessible::Name);
    const QAccessible::Role role = accessible->role();
    line->clear();
    const bool hiddenWhenClear = !line->isVisible();

    // A second "Right." in a row appears anew, so it is read out again.
    QCOMPARE(counter.shows, 3);
    QCOMPARE(role, QAccessible::Notification);
    QCOMPARE(spoken, QString::fromUtf8("Right, but mind the accents: caf\xC3\xA9"));
    QVERIFY(hiddenWhenClear);
}

QTEST_MAIN(AnswerFeedbackTest)
#include "tst_answer_feedback.moc"
