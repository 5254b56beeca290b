#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "core/import_pipeline.h"
#include "editing/import_dialog.h"
#include "tests/support/dialog_driver.h"

// The Anki part of the import preview: fields chosen per note type, decks renamed to
// lessons, and where tags go, each changing the cards the import would take.
class TestAnkiImportPanel : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<ImportDialog> dialog_;

    CardRecord firstCard() const { return dialog_->source().row(0).candidate.card; }
    template <typename T>
    T* child(const char* name) const {
        T* found = dialog_->findChild<T*>(name);
        Q_ASSERT(found);
        return found;
    }

private slots:
    void init() {
        AnkiExport deck;
        deck.deckName = "Vocabulary::Spanish for travellers";
        deck.nowSeconds = 1'700'000'000;
        deck.cards = {{"hablar", "to speak", "verbs", "1", "", std::nullopt},
                      {"casa", "house", "nouns", "2", "", std::nullopt}};
        const std::string path = QFile::encodeName(dir_.filePath("deck.apkg")).toStdString();
        QVERIFY(writeAnkiPackage(path, deck).ok());
        ImportReadResult read = readImportSource(path, {});
        QVERIFY(read.source);
        dialog_ = std::make_unique<ImportDialog>(std::move(*read.source), "deck.apkg", nullptr);
    }
    void cleanup() { dialog_.reset(); }

    void choicesChangeTheCards() {
        // Defaults: first field the question, the deck's last level cut to a lesson, tags
        // in the additional information.
        QCOMPARE(firstCard(), (CardRecord{"hablar", "to speak", "Spanish fo", "verbs", 0}));
        auto* deckTable = child<QTableWidget>("deckTable");
        QCOMPARE(deckTable->item(0, 2)->text(), QString("Spanish fo"));

        child<QComboBox>("questionFieldBox")->setCurrentIndex(1);
        child<QComboBox>("answerFieldBox")->setCurrentIndex(0);
        deckTable->item(0, 2)->setText("Spanish");
        child<QComboBox>("tagsBox")->setCurrentIndex(2);
        QCOMPARE(firstCard(), (CardRecord{"to speak", "hablar", "Spanish", "", 0}));
        QCOMPARE(dialog_->source().counts().changed, 0u);

        // A name too long for a lesson is cut as it is typed in.
        deckTable->item(0, 2)->setText("Reisewortschatz");
        QCOMPARE(deckTable->item(0, 2)->text(), QString("Reiseworts"));
        QCOMPARE(firstCard().lesson, std::string("Reiseworts"));
    }

    void everyControlIsNamed() {
        QVERIFY2(controlsWithoutAccessibleName(dialog_.get()).isEmpty(),
                 qPrintable(controlsWithoutAccessibleName(dialog_.get()).join(", ")));
        for (QComboBox* box : dialog_->findChildren<QComboBox*>())
            QVERIFY2(!box->accessibleName().isEmpty(), qPrintable(box->objectName()));
        QVERIFY(child<QLabel>("summaryLabel")->text().contains("2 of 2 notes"));
    }
};

QTEST_MAIN(TestAnkiImportPanel)
#include "tst_anki_import_panel.moc"
