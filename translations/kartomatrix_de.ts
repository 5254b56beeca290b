<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Kartomatrix</source>
        <translation>Über Kartomatrix</translation>
    </message>
    <message>
        <source>Kartomatrix icon</source>
        <translation>Kartomatrix-Symbol</translation>
    </message>
    <message>
        <source>Kartomatrix %1
Running on %2</source>
        <translation>Kartomatrix %1
Läuft unter %2</translation>
    </message>
</context>
<context>
    <name>AnkiImportPanel</name>
    <message>
        <source>Note types</source>
        <translation>Notiztypen</translation>
    </message>
    <message>
        <source>- cloze, not taken</source>
        <translation>- Lückentext, nicht übernommen</translation>
    </message>
    <message>
        <source>Note &amp;type:</source>
        <translation>Notiz&amp;typ:</translation>
    </message>
    <message>
        <source>&amp;Question field:</source>
        <translation>&amp;Fragefeld:</translation>
    </message>
    <message>
        <source>&amp;Answer field:</source>
        <translation>&amp;Antwortfeld:</translation>
    </message>
    <message>
        <source>&amp;Fields of the first notes:</source>
        <translation>Fel&amp;der der ersten Notizen:</translation>
    </message>
    <message>
        <source>Decks and lessons</source>
        <translation>Stapel und Lektionen</translation>
    </message>
    <message>
        <source>Deck</source>
        <translation>Stapel</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>Lesson</source>
        <translation>Lektion</translation>
    </message>
    <message>
        <source>(no deck)</source>
        <translation>(kein Stapel)</translation>
    </message>
    <message>
        <source>At most %1 characters</source>
        <translation>Höchstens %1 Zeichen</translation>
    </message>
    <message>
        <source>&amp;Decks (a lesson can be renamed):</source>
        <translation>&amp;Stapel (eine Lektion kann umbenannt werden):</translation>
    </message>
    <message>
        <source>Go to the additional information</source>
        <translation>Kommen in die Zusatzinformation</translation>
    </message>
    <message>
        <source>Become the lesson (the first tag)</source>
        <translation>Werden die Lektion (das erste Schlagwort)</translation>
    </message>
    <message>
        <source>Are left out</source>
        <translation>Werden weggelassen</translation>
    </message>
    <message>
        <source>Ta&amp;gs:</source>
        <translation>Schlag&amp;wörter:</translation>
    </message>
    <message>
        <source>%1 (notes: %2)</source>
        <translation>%1 (Notizen: %2)</translation>
    </message>
    <message>
        <source>Notes that refer to pictures or sounds: %1. Cards cannot hold these yet, so they are not imported (media files in the package: %2).</source>
        <translation>Notizen, die auf Bilder oder Töne verweisen: %1. Karten können diese noch nicht aufnehmen, daher werden sie nicht importiert (Mediendateien im Paket: %2).</translation>
    </message>
</context>
<context>
    <name>AnswerDiffView</name>
    <message>
        <source>Struck-through letters were typed but are not in the stored answer; underlined letters are in the stored answer but were not typed.</source>
        <translation>Durchgestrichene Buchstaben wurden eingegeben, stehen aber nicht in der gespeicherten Antwort; unterstrichene Buchstaben stehen in der gespeicherten Antwort, wurden aber nicht eingegeben.</translation>
    </message>
</context>
<context>
    <name>AnswerFeedbackLine</name>
    <message>
        <source>Right, but mind the capital letters: %1</source>
        <translation>Richtig, aber achten Sie auf die Groß- und Kleinschreibung: %1</translation>
    </message>
    <message>
        <source>Right, but mind the accents: %1</source>
        <translation>Richtig, aber achten Sie auf die Akzente: %1</translation>
    </message>
    <message>
        <source>Right, but mind the capital letters and accents: %1</source>
        <translation>Richtig, aber achten Sie auf Groß- und Kleinschreibung und Akzente: %1</translation>
    </message>
    <message>
        <source>Right.</source>
        <translation>Richtig.</translation>
    </message>
</context>
<context>
    <name>AnswerFormStack</name>
    <message>
        <source>There are too few different answers to choose from; please type this one.</source>
        <translation>Es gibt zu wenige verschiedene Antworten zur Auswahl; bitte tippen Sie diese ein.</translation>
    </message>
    <message>
        <source>This answer has no letters to mix; please type it.</source>
        <translation>Diese Antwort hat keine Buchstaben zum Mischen; bitte tippen Sie sie ein.</translation>
    </message>
</context>
<context>
    <name>AnswerModeMenus</name>
    <message>
        <source>&amp;Question to Answer</source>
        <translation>&amp;Frage zur Antwort</translation>
    </message>
    <message>
        <source>&amp;Answer to Question</source>
        <translation>&amp;Antwort zur Frage</translation>
    </message>
    <message>
        <source>&amp;Mixed</source>
        <translation>&amp;Gemischt</translation>
    </message>
    <message>
        <source>&amp;Typed</source>
        <translation>&amp;Getippt</translation>
    </message>
    <message>
        <source>&amp;Flash Card</source>
        <translation>&amp;Karteikarte</translation>
    </message>
    <message>
        <source>&amp;Multiple Choice</source>
        <translation>&amp;Mehrfachauswahl</translation>
    </message>
    <message>
        <source>Mi&amp;xed Letters</source>
        <translation>&amp;Buchstabensalat</translation>
    </message>
    <message>
        <source>&amp;Direction</source>
        <translation>Ri&amp;chtung</translation>
    </message>
    <message>
        <source>Answer &amp;Form</source>
        <translation>&amp;Antwortform</translation>
    </message>
</context>
<context>
    <name>CalendarHeatmap</name>
    <message>
        <source>Reviews per day</source>
        <translation>Wiederholungen pro Tag</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n review(s)</source>
        <translation>
            <numerusform>%1: %n Wiederholung</numerusform>
            <numerusform>%1: %n Wiederholungen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CardExport</name>
    <message>
        <source>Text for other trainers</source>
        <translation>Text für andere Trainer</translation>
    </message>
    <message>
        <source>%1: questions</source>
        <translation>%1: Fragen</translation>
    </message>
    <message>
        <source>%1: answers</source>
        <translation>%1: Antworten</translation>
    </message>
    <message>
        <source>KDE vocabulary file</source>
        <translation>KDE-Vokabeldatei</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 existiert bereits.
Soll die Datei ersetzt werden?</translation>
    </message>
    <message>
        <source>%1 is read-only. The cards were not exported.</source>
        <translation>%1 ist schreibgeschützt. Die Karten wurden nicht exportiert.</translation>
    </message>
    <message>
        <source>%1 is a folder, a device or a pipe, not a file. The cards were not exported.</source>
        <translation>%1 ist ein Ordner, ein Gerät oder eine Pipe, keine Datei. Die Karten wurden nicht exportiert.</translation>
    </message>
    <message>
        <source>The cards could not be written to %1; the folder may be read-only or the disk full. Nothing was changed.</source>
        <translation>Die Karten konnten nicht nach %1 geschrieben werden; der Ordner ist vielleicht schreibgeschützt oder der Datenträger voll. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>Kartomatrix</source>
        <translation>Kartomatrix</translation>
    </message>
    <message>
        <source>Anki package</source>
        <translation>Anki-Paket</translation>
    </message>
</context>
<context>
    <name>CardSpeech</name>
    <message>
        <source>Speak</source>
        <translation>Sprechen</translation>
    </message>
    <message>
        <source>Speak the question</source>
        <translation>Frage sprechen</translation>
    </message>
    <message>
        <source>Speak the answer</source>
        <translation>Antwort sprechen</translation>
    </message>
    <message>
        <source>Speak the question (F7)</source>
        <translation>Frage sprechen (F7)</translation>
    </message>
    <message>
        <source>Speak the answer (F8)</source>
        <translation>Antwort sprechen (F8)</translation>
    </message>
</context>
<context>
    <name>CardTableModel</name>
    <message>
        <source>Due</source>
        <translation>Fällig</translation>
    </message>
    <message>
        <source>Recall</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <source>When the card falls due for review</source>
        <translation>Wann die Karte zur Wiederholung fällig wird</translation>
    </message>
    <message>
        <source>The chance to remember the card now</source>
        <translation>Die Wahrscheinlichkeit, sich jetzt an die Karte zu erinnern</translation>
    </message>
</context>
<context>
    <name>CommandBoard</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New List...</source>
        <translation>&amp;Neue Liste...</translation>
    </message>
    <message>
        <source>&amp;Open List...</source>
        <translation>Liste ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Close List</source>
        <translation>Liste &amp;schließen</translation>
    </message>
    <message>
        <source>&amp;Save List...</source>
        <translation>Liste s&amp;peichern...</translation>
    </message>
    <message>
        <source>Save List &amp;As...</source>
        <translation>Liste speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Export Cards...</source>
        <translation>Karten &amp;exportieren...</translation>
    </message>
    <message>
        <source>Export Question...</source>
        <translation>Fragen exportieren...</translation>
    </message>
    <message>
        <source>Export Answer...</source>
        <translation>Antworten exportieren...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>&amp;Preferences...</source>
        <translation>E&amp;instellungen...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Font of the Question...</source>
        <translation>Schriftart der Frage...</translation>
    </message>
    <message>
        <source>Font of the Answer...</source>
        <translation>Schriftart der Antwort...</translation>
    </message>
    <message>
        <source>&amp;Examination</source>
        <translation>&amp;Abfrage</translation>
    </message>
    <message>
        <source>Systematic Examination...</source>
        <translation>Systematische Abfrage...</translation>
    </message>
    <message>
        <source>Examination in &amp;Order...</source>
        <translation>Abfrage der &amp;Reihe nach...</translation>
    </message>
    <message>
        <source>Examination in &amp;Random Order...</source>
        <translation>Abfrage in &amp;zufälliger Reihenfolge...</translation>
    </message>
    <message>
        <source>Examination of &amp;Wrong Words</source>
        <translation>Abfrage der &amp;falschen Wörter</translation>
    </message>
    <message>
        <source>&amp;Cards</source>
        <translation>&amp;Karten</translation>
    </message>
    <message>
        <source>&amp;New Cards...</source>
        <translation>&amp;Neue Karten...</translation>
    </message>
    <message>
        <source>&amp;Modify Cards...</source>
        <translation>Karten &amp;bearbeiten...</translation>
    </message>
    <message>
        <source>&amp;Sort</source>
        <translation>&amp;Sortieren</translation>
    </message>
    <message>
        <source>&amp;Exchange Question and Answer</source>
        <translation>Frage und Antwort &amp;tauschen</translation>
    </message>
    <message>
        <source>&amp;Overview...</source>
        <translation>&amp;Übersicht...</translation>
    </message>
    <message>
        <source>S&amp;tatistics...</source>
        <translation>Stat&amp;istik...</translation>
    </message>
    <message>
        <source>&amp;Special Examination</source>
        <translation>&amp;Spezielle Abfrage</translation>
    </message>
    <message>
        <source>Examination of the &amp;Known Words...</source>
        <translation>Abfrage der &amp;bekannten Wörter...</translation>
    </message>
    <message>
        <source>&amp;Choose a Lesson...</source>
        <translation>&amp;Lektion wählen...</translation>
    </message>
    <message>
        <source>Lesson in &amp;Order...</source>
        <translation>Lektion der &amp;Reihe nach...</translation>
    </message>
    <message>
        <source>Lesson in &amp;Random Order...</source>
        <translation>Lektion in &amp;zufälliger Reihenfolge...</translation>
    </message>
    <message>
        <source>Lesson - &amp;Systematic Examination...</source>
        <translation>Lektion - &amp;systematische Abfrage...</translation>
    </message>
    <message>
        <source>Choose a &amp;Level...</source>
        <translation>S&amp;tufe wählen...</translation>
    </message>
    <message>
        <source>Level in order...</source>
        <translation>Stufe der Reihe nach...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;User Guide</source>
        <translation>&amp;Benutzerhandbuch</translation>
    </message>
    <message>
        <source>More menus</source>
        <translation>Weitere Menüs</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>I&amp;mportieren...</translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation>E&amp;xportieren...</translation>
    </message>
    <message>
        <source>&amp;Due Cards...</source>
        <translation>&amp;Fällige Karten...</translation>
    </message>
    <message>
        <source>&amp;Progress...</source>
        <translation>&amp;Fortschritt...</translation>
    </message>
    <message>
        <source>Optimise Memory &amp;Model...</source>
        <translation>&amp;Gedächtnismodell optimieren...</translation>
    </message>
    <message>
        <source>&amp;Languages of the List...</source>
        <translation>Sprachen der &amp;Liste...</translation>
    </message>
</context>
<context>
    <name>ConfirmAnswerDialog</name>
    <message>
        <source>Is your answer right?</source>
        <translation>Ist Ihre Antwort richtig?</translation>
    </message>
    <message>
        <source>Your answer and the answer in the database differ. Are both answers right?</source>
        <translation>Ihre Antwort weicht von der Antwort in der Datenbank ab. Sind beide Antworten richtig?</translation>
    </message>
    <message>
        <source>Card Number (ID)</source>
        <translation>Kartennummer (ID)</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Your Answer</source>
        <translation>Ihre Antwort</translation>
    </message>
    <message>
        <source>Answer in the Database</source>
        <translation>Antwort in der Datenbank</translation>
    </message>
    <message>
        <source>Difference</source>
        <translation>Unterschied</translation>
    </message>
    <message>
        <source>Lesson</source>
        <translation>Lektion</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Yes, add my answer</source>
        <translation>Ja, meine Antwort hinzufügen</translation>
    </message>
    <message>
        <source>Yes, replace answer</source>
        <translation>Ja, Antwort ersetzen</translation>
    </message>
</context>
<context>
    <name>DialogData</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen %1 und %2 ein.</translation>
    </message>
</context>
<context>
    <name>DocumentInfoDialog</name>
    <message>
        <source>Document - Information</source>
        <translation>Dokument - Information</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Number of cards</source>
        <translation>Anzahl der Karten</translation>
    </message>
    <message>
        <source>Known cards</source>
        <translation>Bekannte Karten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ExaminationDialog</name>
    <message>
        <source>Please enter the meaning of this word:</source>
        <translation>Bitte geben Sie die Bedeutung dieses Wortes ein:</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Answer</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <source>Add. Inform.</source>
        <translation>Zusatzinfo</translation>
    </message>
    <message>
        <source>Card Number (ID)</source>
        <translation>Kartennummer (ID)</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>Lesson</source>
        <translation>Lektion</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Edit Card</source>
        <translation>Karte bearbeiten</translation>
    </message>
    <message>
        <source>Undo Last Answer</source>
        <translation>Letzte Antwort zurücknehmen</translation>
    </message>
    <message>
        <source>Due Cards</source>
        <translation>Fällige Karten</translation>
    </message>
    <message>
        <source>This list has no review history, so no cards fall due.</source>
        <translation>Diese Liste hat keinen Lernverlauf, daher ist keine Karte fällig.</translation>
    </message>
    <message>
        <source>No cards are due now. The next cards fall due on %1.</source>
        <translation>Jetzt ist keine Karte fällig. Die nächsten Karten werden am %1 fällig.</translation>
    </message>
    <message>
        <source>No cards are due now, and there are no new cards left for today.</source>
        <translation>Jetzt ist keine Karte fällig, und für heute sind keine neuen Karten mehr übrig.</translation>
    </message>
    <message numerus="yes">
        <source>You reviewed %n card(s)</source>
        <translation>
            <numerusform>Sie haben %n Karte wiederholt</numerusform>
            <numerusform>Sie haben %n Karten wiederholt</numerusform>
        </translation>
    </message>
    <message>
        <source>, %1 % of them right</source>
        <translation>, %1 % davon richtig</translation>
    </message>
    <message>
        <source>The next cards fall due on %1.</source>
        <translation>Die nächsten Karten werden am %1 fällig.</translation>
    </message>
    <message>
        <source>Please enter the question of this answer:</source>
        <translation>Bitte geben Sie die Frage zu dieser Antwort ein:</translation>
    </message>
</context>
<context>
    <name>FileFailureText</name>
    <message>
        <source>%1 is not a list file: it is not text, and none of the list formats either.</source>
        <translation>%1 ist keine Liste: Die Datei ist weder Text noch eines der Listenformate.</translation>
    </message>
    <message>
        <source>%1 is not a list file: it is a folder, a device or a pipe.</source>
        <translation>%1 ist keine Listendatei, sondern ein Ordner, ein Gerät oder eine Pipe.</translation>
    </message>
    <message>
        <source>%1 is too large to be a list (over 1 GiB).</source>
        <translation>%1 ist zu groß für eine Liste (über 1 GiB).</translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation>%1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>%1 could not be read: there is no such file.</source>
        <translation>%1 konnte nicht gelesen werden: Diese Datei gibt es nicht.</translation>
    </message>
    <message>
        <source>%1 could not be read: you are not allowed to read it.</source>
        <translation>%1 konnte nicht gelesen werden: Sie dürfen sie nicht lesen.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2.</source>
        <translation>%1 konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>%1 was not saved: the file is read-only.</source>
        <translation>%1 wurde nicht gespeichert: Die Datei ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>%1 was not saved: it is not a regular file but a folder, a device or a pipe.</source>
        <translation>%1 wurde nicht gespeichert: Es ist keine gewöhnliche Datei, sondern ein Ordner, ein Gerät oder eine Pipe.</translation>
    </message>
    <message>
        <source>%1 was not saved.</source>
        <translation>%1 wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>%1 was not saved: there is no space left on the disk.</source>
        <translation>%1 wurde nicht gespeichert: Auf dem Datenträger ist kein Platz mehr frei.</translation>
    </message>
    <message>
        <source>%1 was not saved: the disk is read-only.</source>
        <translation>%1 wurde nicht gespeichert: Der Datenträger ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>%1 was not saved: its folder is read-only for you.</source>
        <translation>%1 wurde nicht gespeichert: Sie dürfen in den Ordner der Datei nicht schreiben.</translation>
    </message>
    <message>
        <source>%1 was not saved: its folder does not exist.</source>
        <translation>%1 wurde nicht gespeichert: Der Ordner der Datei existiert nicht.</translation>
    </message>
    <message>
        <source>%1 was not saved: %2.</source>
        <translation>%1 wurde nicht gespeichert: %2.</translation>
    </message>
</context>
<context>
    <name>FlashCardPanel</name>
    <message>
        <source>Show answer</source>
        <translation>Antwort zeigen</translation>
    </message>
    <message>
        <source>Answer</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <source>1: I knew it</source>
        <translation>1: Gewusst</translation>
    </message>
    <message>
        <source>2: I didn&apos;t</source>
        <translation>2: Nicht gewusst</translation>
    </message>
    <message>
        <source>The answer is: %1</source>
        <translation>Die Antwort ist: %1</translation>
    </message>
</context>
<context>
    <name>ImportDialog</name>
    <message>
        <source>UTF-8</source>
        <translation>UTF-8</translation>
    </message>
    <message>
        <source>UTF-16, little-endian</source>
        <translation>UTF-16, Little-Endian</translation>
    </message>
    <message>
        <source>UTF-16, big-endian</source>
        <translation>UTF-16, Big-Endian</translation>
    </message>
    <message>
        <source>Windows-1252 (Western European)</source>
        <translation>Windows-1252 (Westeuropäisch)</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tabulator</translation>
    </message>
    <message>
        <source>Semicolon ;</source>
        <translation>Semikolon ;</translation>
    </message>
    <message>
        <source>Comma ,</source>
        <translation>Komma ,</translation>
    </message>
    <message>
        <source>Other character</source>
        <translation>Anderes Zeichen</translation>
    </message>
    <message>
        <source>%1 cannot be imported: it is a folder, a device or a pipe.</source>
        <translation>%1 kann nicht importiert werden: Es ist ein Ordner, ein Gerät oder eine Pipe.</translation>
    </message>
    <message>
        <source>%1 is too large to import (over %2 MiB).</source>
        <translation>%1 ist zu groß zum Importieren (über %2 MiB).</translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation>%1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>%1 cannot be imported: %2</source>
        <translation>%1 kann nicht importiert werden: %2</translation>
    </message>
    <message>
        <source>%1 is not a text file: it holds NUL bytes or other control characters. Import reads text (such as CSV or tab-separated lists) and KVTML files.</source>
        <translation>%1 ist keine Textdatei: Sie enthält NUL-Bytes oder andere Steuerzeichen. Der Import liest Text (etwa CSV oder durch Tabulatoren getrennte Listen) und KVTML-Dateien.</translation>
    </message>
    <message>
        <source>%1 holds no cards to import.</source>
        <translation>%1 enthält keine Karten zum Importieren.</translation>
    </message>
    <message>
        <source>Import cards from:</source>
        <translation>Karten importieren aus:</translation>
    </message>
    <message>
        <source>Text, CSV and KVTML files</source>
        <translation>Text-, CSV- und KVTML-Dateien</translation>
    </message>
    <message>
        <source>KDE vocabulary files</source>
        <translation>KDE-Vokabeldateien</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Import Cards</source>
        <translation>Karten importieren</translation>
    </message>
    <message>
        <source>Cards from %1.</source>
        <translation>Karten aus %1.</translation>
    </message>
    <message>
        <source>Questions in %1, answers in %2.</source>
        <translation>Fragen auf %1, Antworten auf %2.</translation>
    </message>
    <message>
        <source>Select all rows</source>
        <translation>Alle Zeilen auswählen</translation>
    </message>
    <message>
        <source>&amp;Preview of the first %1 cards:</source>
        <translation>&amp;Vorschau der ersten %1 Karten:</translation>
    </message>
    <message>
        <source>Rows &amp;not taken or changed:</source>
        <translation>&amp;Nicht übernommene oder geänderte Zeilen:</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Reading the file</source>
        <translation>Die Datei wird gelesen</translation>
    </message>
    <message>
        <source>&amp;First row names the columns</source>
        <translation>&amp;Erste Zeile benennt die Spalten</translation>
    </message>
    <message>
        <source>Enc&amp;oding:</source>
        <translation>&amp;Kodierung:</translation>
    </message>
    <message>
        <source>&amp;Separator:</source>
        <translation>&amp;Trennzeichen:</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Spalten</translation>
    </message>
    <message>
        <source>&amp;Question:</source>
        <translation>&amp;Frage:</translation>
    </message>
    <message>
        <source>&amp;Answer:</source>
        <translation>&amp;Antwort:</translation>
    </message>
    <message>
        <source>&amp;Lesson:</source>
        <translation>&amp;Lektion:</translation>
    </message>
    <message>
        <source>A&amp;dditional information:</source>
        <translation>&amp;Zusatzinformation:</translation>
    </message>
    <message>
        <source>Read in this encoding, the file is not text. Choose another encoding.</source>
        <translation>In dieser Kodierung gelesen ist die Datei kein Text. Wählen Sie eine andere Kodierung.</translation>
    </message>
    <message>
        <source>%1 of %2 rows become cards.</source>
        <translation>%1 von %2 Zeilen werden zu Karten.</translation>
    </message>
    <message>
        <source>%1 of %2 entries become cards.</source>
        <translation>%1 von %2 Einträgen werden zu Karten.</translation>
    </message>
    <message>
        <source>%1 of them are cut or cleaned.</source>
        <translation>%1 davon werden gekürzt oder bereinigt.</translation>
    </message>
    <message>
        <source>%1 cannot be taken.</source>
        <translation>%1 können nicht übernommen werden.</translation>
    </message>
    <message>
        <source>Column %1: %2</source>
        <translation>Spalte %1: %2</translation>
    </message>
    <message>
        <source>Column %1</source>
        <translation>Spalte %1</translation>
    </message>
    <message>
        <source>Column %1, e.g. %2</source>
        <translation>Spalte %1, z. B. %2</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Texts are &amp;HTML</source>
        <translation>Texte sind &amp;HTML</translation>
    </message>
    <message>
        <source>O&amp;ther character:</source>
        <translation>An&amp;deres Zeichen:</translation>
    </message>
    <message>
        <source>Column %1: Anki note id</source>
        <translation>Spalte %1: Anki-Notiz-ID</translation>
    </message>
    <message>
        <source>Column %1: Anki note type</source>
        <translation>Spalte %1: Anki-Notiztyp</translation>
    </message>
    <message>
        <source>Column %1: Anki deck</source>
        <translation>Spalte %1: Anki-Stapel</translation>
    </message>
    <message>
        <source>Column %1: Anki tags</source>
        <translation>Spalte %1: Anki-Schlagwörter</translation>
    </message>
    <message>
        <source>Anki&apos;s note ids and note types are no card texts and are not imported.</source>
        <translation>Ankis Notiz-IDs und Notiztypen sind keine Kartentexte und werden nicht importiert.</translation>
    </message>
    <message>
        <source>The deck (column %1) becomes the lesson: the last level of its name, after &quot;::&quot;.</source>
        <translation>Der Stapel (Spalte %1) wird zur Lektion: die letzte Stufe seines Namens, nach &quot;::&quot;.</translation>
    </message>
    <message>
        <source>The tags (column %1) are imported as chosen above.</source>
        <translation>Die Schlagwörter (Spalte %1) werden wie oben gewählt importiert.</translation>
    </message>
    <message>
        <source>Tags are not imported. To keep them, choose column %1 for the additional information.</source>
        <translation>Schlagwörter werden nicht importiert. Um sie zu behalten, wählen Sie Spalte %1 für die Zusatzinformation.</translation>
    </message>
    <message>
        <source>Tags are removed, entities such as &amp;amp; decoded, and line breaks become &quot; / &quot;.</source>
        <translation>Tags werden entfernt, Entitäten wie &amp;amp; aufgelöst, und Zeilenumbrüche werden zu &quot; / &quot;.</translation>
    </message>
    <message>
        <source>%1 is not an Anki package: it is no zip archive, or it holds no collection.</source>
        <translation>%1 ist kein Anki-Paket: Es ist kein Zip-Archiv, oder es enthält keine Sammlung.</translation>
    </message>
    <message>
        <source>%1 cannot be imported: it would unpack to more than %2 GiB, or it is compressed far beyond what a real Anki collection is.</source>
        <translation>%1 kann nicht importiert werden: Es würde auf mehr als %2 GiB entpackt, oder es ist weit stärker komprimiert, als eine echte Anki-Sammlung sein kann.</translation>
    </message>
    <message>
        <source>%1 was made by a newer Anki than Kartomatrix knows. In Anki, export the deck again with &quot;Support older Anki versions&quot; checked.</source>
        <translation>%1 stammt von einer neueren Anki-Version, als Kartomatrix kennt. Exportieren Sie den Stapel in Anki erneut mit „Ältere Anki-Versionen unterstützen“.</translation>
    </message>
    <message>
        <source>%1 holds a collection too old to read (from Anki before 2.0). Open it in a current Anki and export it again.</source>
        <translation>%1 enthält eine zu alte Sammlung (von Anki vor 2.0). Öffnen Sie sie in einem aktuellen Anki und exportieren Sie sie erneut.</translation>
    </message>
    <message>
        <source>%1 is a damaged Anki package; nothing was imported.</source>
        <translation>%1 ist ein beschädigtes Anki-Paket; es wurde nichts importiert.</translation>
    </message>
    <message>
        <source>%1 could not be unpacked: there is no room or no permission for a temporary copy of its collection.</source>
        <translation>%1 konnte nicht entpackt werden: Für eine vorübergehende Kopie der Sammlung fehlt der Platz oder die Berechtigung.</translation>
    </message>
    <message>
        <source>Anki packages</source>
        <translation>Anki-Pakete</translation>
    </message>
    <message>
        <source>%1 of %2 notes become cards.</source>
        <translation>%1 von %2 Notizen werden zu Karten.</translation>
    </message>
    <message>
        <source>Notes added: %1, updated: %2.</source>
        <translation>Notizen hinzugefügt: %1, aktualisiert: %2.</translation>
    </message>
    <message>
        <source>The cards&apos; answers in Anki were not brought along: %1</source>
        <translation>Die Antworten der Karten in Anki wurden nicht mitgenommen: %1</translation>
    </message>
    <message>
        <source>Answers given in Anki brought into the review history: %1. The cards fall due where Anki would have asked them.</source>
        <translation>In den Lernverlauf übernommene Antworten aus Anki: %1. Die Karten werden fällig, wo Anki sie abgefragt hätte.</translation>
    </message>
    <message>
        <source>The deck carries FSRS parameters that Anki fitted to your answers. Schedule this list with them instead of the ones it has now?</source>
        <translation>Der Stapel enthält FSRS-Parameter, die Anki an Ihre Antworten angepasst hat. Soll diese Liste statt mit ihren jetzigen mit diesen Parametern geplant werden?</translation>
    </message>
</context>
<context>
    <name>ImportPreviewModel</name>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Answer</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <source>Lesson</source>
        <translation>Lektion</translation>
    </message>
    <message>
        <source>Additional information</source>
        <translation>Zusatzinformation</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>What happens</source>
        <translation>Was geschieht</translation>
    </message>
    <message>
        <source>question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>answer</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <source>lesson</source>
        <translation>Lektion</translation>
    </message>
    <message>
        <source>additional information</source>
        <translation>Zusatzinformation</translation>
    </message>
    <message>
        <source>not taken: the question is empty</source>
        <translation>nicht übernommen: die Frage ist leer</translation>
    </message>
    <message>
        <source>the %1 is cut after %2 characters, leaving out %3 more: %4</source>
        <translation>die %1 wird nach %2 Zeichen gekürzt, %3 weitere entfallen: %4</translation>
    </message>
    <message>
        <source>fields beyond the columns left out: %1</source>
        <translation>Felder hinter den Spalten entfallen: %1</translation>
    </message>
    <message>
        <source>bytes that are no character in this encoding became �</source>
        <translation>Bytes, die in dieser Kodierung kein Zeichen sind, wurden zu �</translation>
    </message>
    <message>
        <source>line breaks, tabs or control characters became blanks</source>
        <translation>Zeilenumbrüche, Tabulatoren oder Steuerzeichen wurden zu Leerzeichen</translation>
    </message>
    <message>
        <source>a quote that is never closed is kept as an ordinary character</source>
        <translation>ein nie geschlossenes Anführungszeichen bleibt als gewöhnliches Zeichen stehen</translation>
    </message>
    <message>
        <source>not taken: the answer is empty</source>
        <translation>nicht übernommen: die Antwort ist leer</translation>
    </message>
    <message>
        <source>not taken: a cloze note has no question and answer</source>
        <translation>nicht übernommen: Eine Lückentext-Notiz hat keine Frage und Antwort</translation>
    </message>
    <message>
        <source>not taken: only one field holds text</source>
        <translation>nicht übernommen: Nur ein Feld enthält Text</translation>
    </message>
    <message>
        <source>not taken: the package lacks its note type</source>
        <translation>nicht übernommen: Dem Paket fehlt ihr Notiztyp</translation>
    </message>
    <message>
        <source>pictures or sounds not imported: %1</source>
        <translation>Bilder oder Töne nicht importiert: %1</translation>
    </message>
</context>
<context>
    <name>ImportProblemModel</name>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
</context>
<context>
    <name>KnownCardDialog</name>
    <message>
        <source>Do you really know this word?</source>
        <translation>Kennen Sie dieses Wort wirklich?</translation>
    </message>
    <message>
        <source>You have answered this word correctly as many times as specified in the Preferences dialog. Do you want to keep it or do you want to put it into the list of known cards?</source>
        <translation>Sie haben dieses Wort so oft richtig beantwortet, wie in den Einstellungen festgelegt. Möchten Sie es behalten oder zu den bekannten Karten legen?</translation>
    </message>
    <message>
        <source>Keep It</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>Known Cards</source>
        <translation>Bekannte Karten</translation>
    </message>
</context>
<context>
    <name>LessonChooser</name>
    <message>
        <source>Choose a lesson...</source>
        <translation>Lektion wählen...</translation>
    </message>
    <message>
        <source>Please choose a lesson:
(Use Shift and Ctrl to select more than one lesson)</source>
        <translation>Bitte wählen Sie eine Lektion:
(Mit Umschalt und Strg wählen Sie mehrere Lektionen)</translation>
    </message>
    <message>
        <source>Please choose a lesson:</source>
        <translation>Bitte wählen Sie eine Lektion:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>LevelChooserDialog</name>
    <message>
        <source>Choose a level</source>
        <translation>Stufe wählen</translation>
    </message>
    <message>
        <source>Please choose a level:</source>
        <translation>Bitte wählen Sie eine Stufe:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>ListLanguagesDialog</name>
    <message>
        <source>Languages of the List</source>
        <translation>Sprachen der Liste</translation>
    </message>
    <message>
        <source>Questions and answers are spoken in these languages. The proposal comes from the cards&apos; letters and commonest words.</source>
        <translation>Fragen und Antworten werden in diesen Sprachen gesprochen. Der Vorschlag stammt aus den Buchstaben und den häufigsten Wörtern der Karten.</translation>
    </message>
    <message>
        <source>&amp;Questions:</source>
        <translation>&amp;Fragen:</translation>
    </message>
    <message>
        <source>Language of the questions</source>
        <translation>Sprache der Fragen</translation>
    </message>
    <message>
        <source>&amp;Answers:</source>
        <translation>&amp;Antworten:</translation>
    </message>
    <message>
        <source>Language of the answers</source>
        <translation>Sprache der Antworten</translation>
    </message>
    <message>
        <source>no guess</source>
        <translation>kein Vorschlag</translation>
    </message>
    <message>
        <source>Guessed from the cards: questions %1, answers %2</source>
        <translation>Aus den Karten erraten: Fragen %1, Antworten %2</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>%1 (no voice)</source>
        <translation>%1 (keine Stimme)</translation>
    </message>
</context>
<context>
    <name>ListSession</name>
    <message>
        <source>Kartomatrix Files (*.KMX)</source>
        <translation>Kartomatrix-Dateien (*.KMX)</translation>
    </message>
    <message>
        <source>Text Files (*.TXT)</source>
        <translation>Textdateien (*.TXT)</translation>
    </message>
    <message>
        <source>%1 ends in the middle of a card: only the first %2 cards could be read. Save will ask before it replaces the file.</source>
        <translation>%1 endet mitten in einer Karte: Nur die ersten %2 Karten konnten gelesen werden. Beim Speichern werden Sie gefragt, bevor die Datei ersetzt wird.</translation>
    </message>
    <message>
        <source>The list file was incomplete when it was read: it may hold cards that this list does not.</source>
        <translation>Die Listendatei war beim Einlesen unvollständig: Sie kann Karten enthalten, die in dieser Liste fehlen.</translation>
    </message>
    <message>
        <source>The list file has been changed by another program since it was opened or last saved here.</source>
        <translation>Die Listendatei wurde von einem anderen Programm geändert, seit sie hier geöffnet oder zuletzt gespeichert wurde.</translation>
    </message>
    <message>
        <source>Replace %1 with this list? Choose No to save it under another name.</source>
        <translation>%1 durch diese Liste ersetzen? Wählen Sie Nein, um sie unter einem anderen Namen zu speichern.</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>this computer</source>
        <translation>diesem Computer</translation>
    </message>
    <message>
        <source>Kartomatrix-File</source>
        <translation>Kartomatrix-Datei</translation>
    </message>
    <message>
        <source>text file</source>
        <translation>Textdatei</translation>
    </message>
    <message>
        <source>%1 held %2 texts with bytes that are not UTF-8; each such byte shows as �. Saving writes them so.</source>
        <translation>%1 enthielt %2 Texte mit Bytes, die kein UTF-8 sind; jedes solche Byte erscheint als �. Beim Speichern wird es so geschrieben.</translation>
    </message>
    <message>
        <source>Card %1 (&quot;%2&quot;) holds characters the older list format cannot hold. Save the list as a Unicode list instead; nothing was written.</source>
        <translation>Karte %1 (&quot;%2&quot;) enthält Zeichen, die das ältere Listenformat nicht aufnehmen kann. Speichern Sie die Liste stattdessen als Unicode-Liste; es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>This list is saved as a Unicode list, so that it can hold every language. Programs that know only the older list format cannot open it.</source>
        <translation>Diese Liste wird als Unicode-Liste gespeichert, damit sie jede Sprache aufnehmen kann. Programme, die nur das ältere Listenformat kennen, können sie nicht öffnen.</translation>
    </message>
    <message>
        <source>Kartomatrix Unicode list, for every language</source>
        <translation>Kartomatrix-Unicode-Liste, für jede Sprache</translation>
    </message>
    <message>
        <source>Open it anyway?</source>
        <translation>Trotzdem öffnen?</translation>
    </message>
    <message>
        <source>%1 is already open in another program (%2, process %3 on %4). If both save it, one will overwrite the other&apos;s changes.</source>
        <translation>%1 ist bereits in einem anderen Programm geöffnet (%2, Prozess %3 auf %4). Wenn beide speichern, überschreibt eines die Änderungen des anderen.</translation>
    </message>
    <message>
        <source>Save over it anyway?</source>
        <translation>Trotzdem darüber speichern?</translation>
    </message>
    <message>
        <source>The review history could not be carried to %1; it stays beside the list&apos;s old name. A new history is started for the new name.</source>
        <translation>Der Lernverlauf konnte nicht nach %1 mitgenommen werden; er bleibt beim alten Namen der Liste. Für den neuen Namen wird ein neuer Verlauf begonnen.</translation>
    </message>
</context>
<context>
    <name>MainDialog</name>
    <message>
        <source>Card box: save the list, or open a list when there is none</source>
        <translation>Karteikasten: die Liste speichern oder, wenn keine offen ist, eine Liste öffnen</translation>
    </message>
    <message>
        <source>Save the list (open a list when there is none)</source>
        <translation>Liste speichern (eine Liste öffnen, wenn keine offen ist)</translation>
    </message>
    <message>
        <source>Examine: start the first examination available</source>
        <translation>Abfragen: die erste verfügbare Abfrage starten</translation>
    </message>
    <message>
        <source>Start the first examination available</source>
        <translation>Die erste verfügbare Abfrage starten</translation>
    </message>
    <message>
        <source>Systematic Examination</source>
        <translation>Systematische Abfrage</translation>
    </message>
    <message>
        <source>Examination in Order</source>
        <translation>Abfrage der Reihe nach</translation>
    </message>
    <message>
        <source>Ex. in Random Order</source>
        <translation>Zufällige Abfrage</translation>
    </message>
    <message>
        <source>Examine Wrong Words</source>
        <translation>Falsche Wörter abfragen</translation>
    </message>
    <message>
        <source>New Card</source>
        <translation>Neue Karte</translation>
    </message>
    <message>
        <source>Overview</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <source> Question &lt;-&gt; Answer</source>
        <translation> Frage &lt;-&gt; Antwort</translation>
    </message>
    <message>
        <source>Number of cards</source>
        <translation>Anzahl der Karten</translation>
    </message>
    <message>
        <source>Known cards</source>
        <translation>Bekannte Karten</translation>
    </message>
    <message>
        <source>Due today</source>
        <translation>Heute fällig</translation>
    </message>
</context>
<context>
    <name>MixedLettersPanel</name>
    <message>
        <source>Answer so far:</source>
        <translation>Bisherige Antwort:</translation>
    </message>
    <message>
        <source>Answer so far</source>
        <translation>Bisherige Antwort</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Zurücknehmen</translation>
    </message>
    <message>
        <source>Takes the last letter back (Backspace)</source>
        <translation>Nimmt den letzten Buchstaben zurück (Rücktaste)</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Prüfen</translation>
    </message>
    <message>
        <source>Hands in the answer (Enter)</source>
        <translation>Gibt die Antwort ab (Eingabetaste)</translation>
    </message>
</context>
<context>
    <name>ModifyCardDialog</name>
    <message>
        <source>Change a card</source>
        <translation>Karte ändern</translation>
    </message>
    <message>
        <source>Please press &apos;search ID&apos;, &apos;search question&apos; or &apos;search answer&apos; to look for a card in the database. Then you can modify it and enter your answer by clicking OK.</source>
        <translation>Bitte drücken Sie &apos;ID suchen&apos;, &apos;Frage suchen&apos; oder &apos;Antwort suchen&apos;, um eine Karte in der Datenbank zu suchen. Dann können Sie sie ändern und Ihre Eingabe mit OK übernehmen.</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Answer</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <source>Card Number (ID)</source>
        <translation>Kartennummer (ID)</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>Lesson</source>
        <translation>Lektion</translation>
    </message>
    <message>
        <source>Additional Information</source>
        <translation>Zusatzinformation</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Search ID...</source>
        <translation>ID suchen...</translation>
    </message>
    <message>
        <source>Search Question...</source>
        <translation>Frage suchen...</translation>
    </message>
    <message>
        <source>Search Answer...</source>
        <translation>Antwort suchen...</translation>
    </message>
    <message>
        <source>Delete Card...</source>
        <translation>Karte löschen...</translation>
    </message>
</context>
<context>
    <name>MultipleChoicePanel</name>
    <message>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Your choice, wrong</source>
        <translation>Ihre Wahl, falsch</translation>
    </message>
    <message>
        <source>%1 (your choice, wrong)</source>
        <translation>%1 (Ihre Wahl, falsch)</translation>
    </message>
    <message>
        <source>The right answer</source>
        <translation>Die richtige Antwort</translation>
    </message>
    <message>
        <source>%1 (right)</source>
        <translation>%1 (richtig)</translation>
    </message>
    <message>
        <source>Wrong: %1. The right answer is %2.</source>
        <translation>Falsch: %1. Die richtige Antwort ist %2.</translation>
    </message>
    <message>
        <source>Choice %1</source>
        <translation>Auswahl %1</translation>
    </message>
</context>
<context>
    <name>NewCardDialog</name>
    <message>
        <source>New vocabulary card</source>
        <translation>Neue Vokabelkarte</translation>
    </message>
    <message>
        <source>Please enter the question and the answer of the new card.( Kartomatrix will ask you the question and you will have to enter the answer)</source>
        <translation>Bitte geben Sie die Frage und die Antwort der neuen Karte ein. (Kartomatrix stellt Ihnen die Frage, und Sie geben die Antwort ein.)</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Answer</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <source>Additional Information</source>
        <translation>Zusatzinformation</translation>
    </message>
    <message>
        <source>Lesson</source>
        <translation>Lektion</translation>
    </message>
    <message>
        <source>Enter this word</source>
        <translation>Dieses Wort eintragen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>OptimiseRun</name>
    <message>
        <source>Optimise Memory Model</source>
        <translation>Gedächtnismodell optimieren</translation>
    </message>
    <message>
        <source>This list has no review history to learn from.</source>
        <translation>Diese Liste hat keinen Wiederholungsverlauf, aus dem gelernt werden kann.</translation>
    </message>
    <message numerus="yes">
        <source>The memory model is fitted to your own reviews from %1 reviews of a list on. This list has %2; %n more are needed.</source>
        <translation>
            <numerusform>Das Gedächtnismodell wird ab %1 Wiederholungen einer Liste an Ihre eigenen Wiederholungen angepasst. Diese Liste hat %2; es fehlt noch %n.</numerusform>
            <numerusform>Das Gedächtnismodell wird ab %1 Wiederholungen einer Liste an Ihre eigenen Wiederholungen angepasst. Diese Liste hat %2; es fehlen noch %n.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Fitting the memory model to %n review(s)...</source>
        <translation>
            <numerusform>Das Gedächtnismodell wird an %n Wiederholung angepasst...</numerusform>
            <numerusform>Das Gedächtnismodell wird an %n Wiederholungen angepasst...</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancelled. The memory model is unchanged.</source>
        <translation>Abgebrochen. Das Gedächtnismodell ist unverändert.</translation>
    </message>
    <message>
        <source>Too few of these reviews came a day or more after the card&apos;s previous one to fit the model. It is unchanged.</source>
        <translation>Zu wenige dieser Wiederholungen kamen einen Tag oder mehr nach der vorigen derselben Karte, um das Modell anzupassen. Es ist unverändert.</translation>
    </message>
    <message numerus="yes">
        <source>Log loss: %1 before, %2 after.
RMSE (bins): %3 before, %4 after.
Measured on %n review(s) of this list; lower is better.</source>
        <translation>
            <numerusform>Log-Loss: %1 vorher, %2 nachher.
RMSE (Klassen): %3 vorher, %4 nachher.
Gemessen an %n Wiederholung dieser Liste; niedriger ist besser.</numerusform>
            <numerusform>Log-Loss: %1 vorher, %2 nachher.
RMSE (Klassen): %3 vorher, %4 nachher.
Gemessen an %n Wiederholungen dieser Liste; niedriger ist besser.</numerusform>
        </translation>
    </message>
    <message>
        <source>The new parameters predict your reviews better and are used from now on.</source>
        <translation>Die neuen Parameter sagen Ihre Wiederholungen besser voraus und werden ab jetzt verwendet.</translation>
    </message>
    <message>
        <source>The new parameters are not better; the current ones stay.</source>
        <translation>Die neuen Parameter sind nicht besser; die bisherigen bleiben.</translation>
    </message>
</context>
<context>
    <name>OverviewDialog</name>
    <message>
        <source>Contents of your vocabulary list:</source>
        <translation>Inhalt Ihrer Vokabelliste:</translation>
    </message>
    <message>
        <source>Here you can see an overview of your cards. Click on a column to sort the list, double-click on a card to display it.</source>
        <translation>Hier sehen Sie eine Übersicht Ihrer Karten. Klicken Sie auf eine Spalte, um die Liste danach zu sortieren, und doppelt auf eine Karte, um sie anzuzeigen.</translation>
    </message>
    <message>
        <source>Cards</source>
        <translation>Karten</translation>
    </message>
    <message>
        <source>Select all cards</source>
        <translation>Alle Karten auswählen</translation>
    </message>
    <message>
        <source>Sort by %1</source>
        <translation>Nach %1 sortieren</translation>
    </message>
    <message>
        <source>All cards</source>
        <translation>Alle Karten</translation>
    </message>
    <message>
        <source>Known Cards</source>
        <translation>Bekannte Karten</translation>
    </message>
    <message>
        <source>Unknown Cards</source>
        <translation>Unbekannte Karten</translation>
    </message>
    <message>
        <source>Wrong Cards</source>
        <translation>Falsch beantwortete Karten</translation>
    </message>
    <message>
        <source>Cards of lesson:</source>
        <translation>Karten der Lektion:</translation>
    </message>
    <message>
        <source>Cards on level:</source>
        <translation>Karten auf Stufe:</translation>
    </message>
    <message>
        <source>Lessons</source>
        <translation>Lektionen</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Search for...</source>
        <translation>Suchen nach...</translation>
    </message>
    <message>
        <source>Refresh List</source>
        <translation>Liste aktualisieren</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>MAX LEVEL: Enter the number of times that a word must be answered correctly before it can be considered known</source>
        <translation>HÖCHSTE STUFE: Geben Sie ein, wie oft ein Wort richtig beantwortet werden muss, bevor es als bekannt gilt</translation>
    </message>
    <message>
        <source>Show additional information during an examination</source>
        <translation>Zusatzinformation während der Abfrage anzeigen</translation>
    </message>
    <message>
        <source>Order of the meanings</source>
        <translation>Reihenfolge der Bedeutungen</translation>
    </message>
    <message>
        <source>Meanings (answers) have to be entered in the right order.</source>
        <translation>Die Bedeutungen (Antworten) müssen in der richtigen Reihenfolge eingegeben werden.</translation>
    </message>
    <message>
        <source>The meanings do not need to be entered in the right order, but you have to enter all words.</source>
        <translation>Die Bedeutungen müssen nicht in der richtigen Reihenfolge eingegeben werden, aber Sie müssen alle Wörter eingeben.</translation>
    </message>
    <message>
        <source>You do not need to enter all meanings of a word</source>
        <translation>Sie müssen nicht alle Bedeutungen eines Wortes eingeben</translation>
    </message>
    <message>
        <source>Ignore case</source>
        <translation>Groß- und Kleinschreibung ignorieren</translation>
    </message>
    <message>
        <source>An answer that differs only in capital letters counts as right.</source>
        <translation>Eine Antwort, die sich nur in der Groß- und Kleinschreibung unterscheidet, gilt als richtig.</translation>
    </message>
    <message>
        <source>Ignore accents</source>
        <translation>Akzente ignorieren</translation>
    </message>
    <message>
        <source>An answer that differs only in accents counts as right: cafe for café, Strasse for Straße.</source>
        <translation>Eine Antwort, die sich nur in Akzenten unterscheidet, gilt als richtig: cafe für café, Strasse für Straße.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Default Values</source>
        <translation>Standardwerte</translation>
    </message>
    <message>
        <source>Kartomatrix Path</source>
        <translation>Kartomatrix-Pfad</translation>
    </message>
    <message>
        <source>Speech</source>
        <translation>Sprachausgabe</translation>
    </message>
    <message>
        <source>Speak buttons for the question and the answer (F7, F8)</source>
        <translation>Sprechen-Knöpfe für Frage und Antwort (F7, F8)</translation>
    </message>
    <message>
        <source>Speak by itself in an examination:</source>
        <translation>In einer Abfrage von selbst sprechen:</translation>
    </message>
    <message>
        <source>Switch this off while a screen reader speaks for you, so that two voices do not talk at once.</source>
        <translation>Schalten Sie dies aus, solange ein Bildschirmleser für Sie spricht, damit nicht zwei Stimmen zugleich reden.</translation>
    </message>
    <message>
        <source>the question, when a card is shown</source>
        <translation>die Frage, wenn eine Karte gezeigt wird</translation>
    </message>
    <message>
        <source>the right answer, after it is judged</source>
        <translation>die richtige Antwort, nachdem sie bewertet ist</translation>
    </message>
    <message>
        <source>Spee&amp;d:</source>
        <translation>&amp;Tempo:</translation>
    </message>
    <message>
        <source>Speed of speech</source>
        <translation>Sprechtempo</translation>
    </message>
    <message>
        <source>&amp;Volume:</source>
        <translation>&amp;Lautstärke:</translation>
    </message>
    <message>
        <source>Volume of speech</source>
        <translation>Lautstärke der Sprachausgabe</translation>
    </message>
    <message>
        <source>Due cards</source>
        <translation>Fällige Karten</translation>
    </message>
    <message>
        <source>Desired retention in percent</source>
        <translation>Gewünschte Erinnerung in Prozent</translation>
    </message>
    <message>
        <source>A card falls due when the chance that you still know it drops below this. Higher means more reviews.</source>
        <translation>Eine Karte wird fällig, wenn die Wahrscheinlichkeit, dass Sie sie noch wissen, darunter fällt. Höher heißt mehr Wiederholungen.</translation>
    </message>
    <message>
        <source>Longest interval in days</source>
        <translation>Längster Abstand in Tagen</translation>
    </message>
    <message>
        <source>New cards per day</source>
        <translation>Neue Karten pro Tag</translation>
    </message>
    <message>
        <source>Daily goal in answers</source>
        <translation>Tagesziel in Antworten</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keines</translation>
    </message>
    <message>
        <source>Desired &amp;retention:</source>
        <translation>Gewünschte &amp;Erinnerung:</translation>
    </message>
    <message>
        <source>Longest &amp;interval (days):</source>
        <translation>Längster &amp;Abstand (Tage):</translation>
    </message>
    <message>
        <source>&amp;New cards per day:</source>
        <translation>&amp;Neue Karten pro Tag:</translation>
    </message>
    <message>
        <source>Daily &amp;goal (answers):</source>
        <translation>Tages&amp;ziel (Antworten):</translation>
    </message>
</context>
<context>
    <name>PrintListChooser</name>
    <message>
        <source>Choose a list...</source>
        <translation>Liste wählen...</translation>
    </message>
    <message>
        <source>Please choose the list to print</source>
        <translation>Bitte wählen Sie die zu druckende Liste</translation>
    </message>
    <message>
        <source>Print all cards</source>
        <translation>Alle Karten drucken</translation>
    </message>
    <message>
        <source>Print cards on level</source>
        <translation>Karten auf Stufe drucken</translation>
    </message>
    <message>
        <source>Level to print</source>
        <translation>Zu druckende Stufe</translation>
    </message>
    <message>
        <source>Print cards of lesson</source>
        <translation>Karten der Lektion drucken</translation>
    </message>
    <message>
        <source>Lesson to print</source>
        <translation>Zu druckende Lektion</translation>
    </message>
    <message>
        <source>Print all cards you answered wrong during this examination</source>
        <translation>Alle Karten drucken, die Sie in dieser Abfrage falsch beantwortet haben</translation>
    </message>
    <message>
        <source>Print all known cards</source>
        <translation>Alle bekannten Karten drucken</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Cards due in the next 30 days</source>
        <translation>Fällige Karten in den nächsten 30 Tagen</translation>
    </message>
    <message>
        <source>Reviews per day over the last year</source>
        <translation>Wiederholungen pro Tag im letzten Jahr</translation>
    </message>
    <message>
        <source>Darker days had more reviews. Arrow keys move from day to day.</source>
        <translation>Dunklere Tage hatten mehr Wiederholungen. Die Pfeiltasten gehen von Tag zu Tag.</translation>
    </message>
    <message>
        <source>Measured and desired retention</source>
        <translation>Gemessene und gewünschte Erinnerungsquote</translation>
    </message>
    <message>
        <source>Time spent in the last 30 days</source>
        <translation>Lernzeit in den letzten 30 Tagen</translation>
    </message>
    <message>
        <source>Daily goal</source>
        <translation>Tagesziel</translation>
    </message>
    <message>
        <source>No goal</source>
        <translation>Kein Ziel</translation>
    </message>
    <message>
        <source> reviews</source>
        <translation> Wiederholungen</translation>
    </message>
    <message>
        <source>Reviews a &amp;day:</source>
        <translation>Wiederholungen pro &amp;Tag:</translation>
    </message>
    <message>
        <source>Daily goal in reviews</source>
        <translation>Tagesziel in Wiederholungen</translation>
    </message>
    <message>
        <source>No reviewed card falls due in the next 30 days.</source>
        <translation>In den nächsten 30 Tagen wird keine wiederholte Karte fällig.</translation>
    </message>
    <message>
        <source>today</source>
        <translation>heute</translation>
    </message>
    <message>
        <source>tomorrow</source>
        <translation>morgen</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n card(s)</source>
        <translation>
            <numerusform>%1: %n Karte</numerusform>
            <numerusform>%1: %n Karten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n card(s) fall due in the next 30 days.</source>
        <translation>
            <numerusform>%n Karte wird in den nächsten 30 Tagen fällig.</numerusform>
            <numerusform>%n Karten werden in den nächsten 30 Tagen fällig.</numerusform>
        </translation>
    </message>
    <message>
        <source>Desired retention %1.</source>
        <translation>Gewünschte Erinnerungsquote %1.</translation>
    </message>
    <message>
        <source>No card has been reviewed a second time yet.</source>
        <translation>Noch keine Karte wurde ein zweites Mal wiederholt.</translation>
    </message>
    <message numerus="yes">
        <source>week of %1: %2 of %n review(s)</source>
        <translation>
            <numerusform>Woche vom %1: %2 von %n Wiederholung</numerusform>
            <numerusform>Woche vom %1: %2 von %n Wiederholungen</numerusform>
        </translation>
    </message>
    <message>
        <source>Measured: %1.</source>
        <translation>Gemessen: %1.</translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s) in the last 30 days</source>
        <translation>
            <numerusform>%n Minute in den letzten 30 Tagen</numerusform>
            <numerusform>%n Minuten in den letzten 30 Tagen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>on %n day(s);</source>
        <translation>
            <numerusform>an %n Tag;</numerusform>
            <numerusform>an %n Tagen;</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s) today.</source>
        <translation>
            <numerusform>%n Minute heute.</numerusform>
            <numerusform>%n Minuten heute.</numerusform>
        </translation>
    </message>
    <message>
        <source>Set a daily goal to keep a streak of days on which you reached it.</source>
        <translation>Setzen Sie ein Tagesziel, um eine Serie von Tagen zu führen, an denen Sie es erreicht haben.</translation>
    </message>
    <message numerus="yes">
        <source>%n review(s) today.</source>
        <translation>
            <numerusform>%n Wiederholung heute.</numerusform>
            <numerusform>%n Wiederholungen heute.</numerusform>
        </translation>
    </message>
    <message>
        <source>Today&apos;s goal is reached.</source>
        <translation>Das heutige Ziel ist erreicht.</translation>
    </message>
    <message numerus="yes">
        <source>%n more review(s) reach today&apos;s goal.</source>
        <translation>
            <numerusform>Noch %n Wiederholung bis zum heutigen Ziel.</numerusform>
            <numerusform>Noch %n Wiederholungen bis zum heutigen Ziel.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Streak: %n day(s) in a row with the goal reached.</source>
        <translation>
            <numerusform>Serie: %n Tag in Folge mit erreichtem Ziel.</numerusform>
            <numerusform>Serie: %n Tage in Folge mit erreichtem Ziel.</numerusform>
        </translation>
    </message>
    <message>
        <source>Cards due</source>
        <translation>Fällige Karten</translation>
    </message>
    <message>
        <source>Cards</source>
        <translation>Karten</translation>
    </message>
    <message>
        <source>Measured</source>
        <translation>Gemessen</translation>
    </message>
    <message>
        <source>Desired</source>
        <translation>Gewünscht</translation>
    </message>
    <message>
        <source>Recalled (%)</source>
        <translation>Gewusst (%)</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
</context>
<context>
    <name>ReviewSchedule</name>
    <message>
        <source>The review history %1 was damaged. It was kept as %2 and a new history was started; the list itself is unharmed.</source>
        <translation>Der Lernverlauf %1 war beschädigt. Er wurde als %2 aufbewahrt und ein neuer Verlauf begonnen; die Liste selbst ist unversehrt.</translation>
    </message>
    <message>
        <source>%1 was not a review history of this program. It was kept as %2 and a new history was started; the list itself is unharmed.</source>
        <translation>%1 war kein Lernverlauf dieses Programms. Die Datei wurde als %2 aufbewahrt und ein neuer Verlauf begonnen; die Liste selbst ist unversehrt.</translation>
    </message>
    <message>
        <source>The review history %1 was written by a newer version of Kartomatrix. It is left as it is; answers are not added to it and no cards fall due.</source>
        <translation>Der Lernverlauf %1 stammt von einer neueren Version von Kartomatrix. Er bleibt unverändert; Antworten werden nicht eingetragen und keine Karte wird fällig.</translation>
    </message>
    <message>
        <source>The review history %1 cannot be written (the folder or the file is read-only). Answers are not added to it and no cards fall due.</source>
        <translation>Der Lernverlauf %1 kann nicht geschrieben werden (Ordner oder Datei sind schreibgeschützt). Antworten werden nicht eingetragen und keine Karte wird fällig.</translation>
    </message>
    <message>
        <source>The review history %1 could not be opened (%2). Answers are not added to it and no cards fall due.</source>
        <translation>Der Lernverlauf %1 konnte nicht geöffnet werden (%2). Antworten werden nicht eingetragen und keine Karte wird fällig.</translation>
    </message>
    <message>
        <source>No review history could be started for the new list.</source>
        <translation>Für die neue Liste konnte kein Lernverlauf begonnen werden.</translation>
    </message>
</context>
<context>
    <name>SearchPrompt</name>
    <message>
        <source>Search for...</source>
        <translation>Suchen nach...</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
</context>
<context>
    <name>Speaker</name>
    <message>
        <source>Speech is off: the speech plug-in of Qt is not installed (Debian package qt6-speech-speechd-plugin).</source>
        <translation>Die Sprachausgabe ist aus: Das Sprach-Plug-in von Qt ist nicht installiert (Debian-Paket qt6-speech-speechd-plugin).</translation>
    </message>
    <message>
        <source>Speech is off: the speech service (speech-dispatcher) could not be started.</source>
        <translation>Die Sprachausgabe ist aus: Der Sprachdienst (speech-dispatcher) konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Speech is off: the speech service (speech-dispatcher) could not be started: %1</source>
        <translation>Die Sprachausgabe ist aus: Der Sprachdienst (speech-dispatcher) konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>Speech is off: the speech service has no voices (Debian package speech-dispatcher-espeak-ng).</source>
        <translation>Die Sprachausgabe ist aus: Der Sprachdienst hat keine Stimmen (Debian-Paket speech-dispatcher-espeak-ng).</translation>
    </message>
    <message>
        <source>The text could not be spoken: %1</source>
        <translation>Der Text konnte nicht gesprochen werden: %1</translation>
    </message>
    <message>
        <source>There is no voice for %1; espeak-ng speaks most languages (Debian package speech-dispatcher-espeak-ng).</source>
        <translation>Es gibt keine Stimme für %1; espeak-ng spricht die meisten Sprachen (Debian-Paket speech-dispatcher-espeak-ng).</translation>
    </message>
    <message>
        <source>Speech is starting.</source>
        <translation>Die Sprachausgabe startet.</translation>
    </message>
</context>
<context>
    <name>StatisticsDialog</name>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Number of cards:</source>
        <translation>Anzahl der Karten:</translation>
    </message>
    <message>
        <source>Known Cards:</source>
        <translation>Bekannte Karten:</translation>
    </message>
    <message>
        <source>Wrong Cards:</source>
        <translation>Falsch beantwortet:</translation>
    </message>
    <message>
        <source>averagely asked:</source>
        <translation>durchschnittlich abgefragt:</translation>
    </message>
    <message>
        <source>total asked:</source>
        <translation>insgesamt abgefragt:</translation>
    </message>
    <message>
        <source>time per card:</source>
        <translation>Zeit pro Karte:</translation>
    </message>
    <message>
        <source>time total:</source>
        <translation>Zeit insgesamt:</translation>
    </message>
    <message>
        <source>% wrong:</source>
        <translation>% falsch:</translation>
    </message>
    <message>
        <source>Wrong answers/answers:</source>
        <translation>Falsche Antworten/Antworten:</translation>
    </message>
    <message>
        <source>remaining examinations:</source>
        <translation>verbleibende Abfragen:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>asked backwards:</source>
        <translation>rückwärts abgefragt:</translation>
    </message>
</context>
<context>
    <name>StatisticsWidget</name>
    <message>
        <source>Cards on level 0,1,2,3,4,5,6,7 and more. Known cards included.</source>
        <translation>Karten auf Stufe 0,1,2,3,4,5,6,7 und höher. Bekannte Karten eingeschlossen.</translation>
    </message>
    <message>
        <source>Learning success: improvement of the level of your cards of -3, -2, -1, 0, 1, 2, 3, 4 and more.</source>
        <translation>Lernerfolg: Verbesserung der Stufe Ihrer Karten um -3, -2, -1, 0, 1, 2, 3, 4 und mehr.</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>About Kartomatrix for Windows</source>
        <translation>Über Kartomatrix für Windows</translation>
    </message>
    <message>
        <source>You have not opened any cards yet. Please try &apos;open&apos; or &apos;new list&apos;</source>
        <translation>Sie haben noch keine Karten geöffnet. Versuchen Sie es bitte mit &apos;Öffnen&apos; oder &apos;Neue Liste&apos;</translation>
    </message>
    <message>
        <source>The systematic examination has been written for more than 10 cards. It makes sense if you have more than 20 cards... But there are less than 10 cards in your list.</source>
        <translation>Die systematische Abfrage ist für mehr als 10 Karten gedacht. Sinnvoll ist sie ab mehr als 20 Karten... Ihre Liste enthält aber weniger als 10 Karten.</translation>
    </message>
    <message>
        <source>An error occured while opening a file. No vocabulary has been read.</source>
        <translation>Beim Öffnen einer Datei ist ein Fehler aufgetreten. Es wurden keine Vokabeln eingelesen.</translation>
    </message>
    <message>
        <source>Too few words for a random examination</source>
        <translation>Zu wenige Wörter für eine Abfrage in zufälliger Reihenfolge</translation>
    </message>
    <message>
        <source>Sorry: there are no cards on this level.</source>
        <translation>Leider gibt es auf dieser Stufe keine Karten.</translation>
    </message>
    <message>
        <source>Sorry: There are no cards of this lesson.</source>
        <translation>Leider gibt es keine Karten dieser Lektion.</translation>
    </message>
    <message>
        <source>Sorry, your answer cannot be added because it is too long.</source>
        <translation>Ihre Antwort kann leider nicht hinzugefügt werden, weil sie zu lang ist.</translation>
    </message>
    <message>
        <source>Du benutzt ein altes, nicht kompatibles Kartomatrix-Format! Nimm das Programm, mit welchem Du das Dokument erzeugt hast, und exportiere es dort. Anschliessend solltest Du es problemlos einlesen koennen.</source>
        <translation>Sie benutzen ein altes, nicht kompatibles Kartomatrix-Format! Öffnen Sie das Dokument mit dem Programm, mit dem Sie es erzeugt haben, und exportieren Sie es dort. Anschließend sollten Sie es problemlos einlesen können.</translation>
    </message>
    <message>
        <source>No more memory. Bye!</source>
        <translation>Kein Speicher mehr frei. Auf Wiedersehen!</translation>
    </message>
    <message>
        <source>Please choose a radio button.</source>
        <translation>Bitte wählen Sie eine der Optionen.</translation>
    </message>
    <message>
        <source>Your answer does not make sense: The question or the anser do not contain any words.</source>
        <translation>Ihre Eingabe ergibt keinen Sinn: Die Frage oder die Antwort enthält keine Wörter.</translation>
    </message>
    <message>
        <source>The card was not found.</source>
        <translation>Die Karte wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>There is no card chosen. Before you can delete a card, you have to search for it.</source>
        <translation>Es ist keine Karte ausgewählt. Bevor Sie eine Karte löschen können, müssen Sie sie suchen.</translation>
    </message>
    <message>
        <source>There was an error while saving cards.</source>
        <translation>Beim Speichern der Karten ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>An error occurred, but its message could not be found. Please report this error and describe what you were doing when it happened.</source>
        <translation>Ein Fehler ist aufgetreten, aber seine Meldung wurde nicht gefunden. Bitte melden Sie diesen Fehler und beschreiben Sie, was Sie gerade getan haben, als er auftrat.</translation>
    </message>
    <message>
        <source>You reached the end of the list.</source>
        <translation>Sie haben das Ende der Liste erreicht.</translation>
    </message>
    <message>
        <source>Caution:</source>
        <translation>Achtung:</translation>
    </message>
    <message>
        <source>You have entered new cards or you have modified some words. Do you want to save them before you close the list?</source>
        <translation>Sie haben neue Karten eingegeben oder Wörter geändert. Möchten Sie sie speichern, bevor Sie die Liste schließen?</translation>
    </message>
    <message>
        <source>There was an error while building a &apos;Device Context&apos;. Check your printer/driver.</source>
        <translation>Beim Anlegen eines &apos;Device Context&apos; ist ein Fehler aufgetreten. Prüfen Sie Ihren Drucker und den Druckertreiber.</translation>
    </message>
    <message>
        <source>There was an error while beginning a new page. Check: memory, disk space, printer and printer driver.</source>
        <translation>Beim Beginnen einer neuen Seite ist ein Fehler aufgetreten. Prüfen Sie Speicher, Plattenplatz, Drucker und Druckertreiber.</translation>
    </message>
    <message>
        <source>There was an error while opening a picture.</source>
        <translation>Beim Öffnen eines Bildes ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>There is no card selected to modify. Please choose &apos;close&apos; or &apos;search ...&apos;</source>
        <translation>Es ist keine Karte zum Ändern ausgewählt. Bitte wählen Sie &apos;Schließen&apos; oder &apos;Suchen ...&apos;</translation>
    </message>
    <message>
        <source>DEBUG: Fehler</source>
        <translation>DEBUG: Fehler</translation>
    </message>
    <message>
        <source>You are trying to delete a card. Do you really want to delete it?</source>
        <translation>Sie sind dabei, eine Karte zu löschen. Möchten Sie sie wirklich löschen?</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Answer</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <source>Add. Information</source>
        <translation>Zusatzinformation</translation>
    </message>
    <message>
        <source>Lesson</source>
        <translation>Lektion</translation>
    </message>
    <message>
        <source>id</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>Examination in order</source>
        <translation>Abfrage der Reihe nach</translation>
    </message>
    <message>
        <source>Examination of the wrong words</source>
        <translation>Abfrage der falsch beantworteten Wörter</translation>
    </message>
    <message>
        <source>Examination in order (Level)</source>
        <translation>Abfrage der Reihe nach (Stufe)</translation>
    </message>
    <message>
        <source>Examination in order (Lesson)</source>
        <translation>Abfrage der Reihe nach (Lektion)</translation>
    </message>
    <message>
        <source>Examination in order (known words)</source>
        <translation>Abfrage der Reihe nach (bekannte Wörter)</translation>
    </message>
    <message>
        <source>Examination in random order</source>
        <translation>Abfrage in zufälliger Reihenfolge</translation>
    </message>
    <message>
        <source>Examination in random order (Lesson)</source>
        <translation>Abfrage in zufälliger Reihenfolge (Lektion)</translation>
    </message>
    <message>
        <source>Systematic examination</source>
        <translation>Systematische Abfrage</translation>
    </message>
    <message>
        <source>Systematic examination (Lesson)</source>
        <translation>Systematische Abfrage (Lektion)</translation>
    </message>
    <message>
        <source>There was an attempt to delete a nonexistant dialog. Bye...</source>
        <translation>Es wurde versucht, einen nicht vorhandenen Dialog zu löschen. Auf Wiedersehen...</translation>
    </message>
    <message>
        <source>Open a list:</source>
        <translation>Liste öffnen:</translation>
    </message>
    <message>
        <source>An error occurred</source>
        <translation>Ein Fehler ist aufgetreten</translation>
    </message>
    <message>
        <source>Message:</source>
        <translation>Meldung:</translation>
    </message>
    <message>
        <source>Please enter the question to search.</source>
        <translation>Bitte geben Sie die gesuchte Frage ein.</translation>
    </message>
    <message>
        <source>Please enter the answer to search.</source>
        <translation>Bitte geben Sie die gesuchte Antwort ein.</translation>
    </message>
    <message>
        <source>Please enter the ID (card number) to search.</source>
        <translation>Bitte geben Sie die gesuchte ID (Kartennummer) ein.</translation>
    </message>
    <message>
        <source>Save this file as:</source>
        <translation>Diese Datei speichern unter:</translation>
    </message>
    <message>
        <source>Export this file as:</source>
        <translation>Diese Datei exportieren als:</translation>
    </message>
    <message>
        <source>Internal Database error: a card has been compared with itself.</source>
        <translation>Interner Datenbankfehler: Eine Karte wurde mit sich selbst verglichen.</translation>
    </message>
    <message>
        <source>A card was not correct. Internal database error.</source>
        <translation>Eine Karte war fehlerhaft. Interner Datenbankfehler.</translation>
    </message>
    <message>
        <source>There are no cards to sort</source>
        <translation>Es gibt keine Karten zum Sortieren</translation>
    </message>
    <message>
        <source>The font in the *.kmx file was not found. Please choose another font.</source>
        <translation>Die Schriftart aus der *.kmx-Datei wurde nicht gefunden. Bitte wählen Sie eine andere Schriftart.</translation>
    </message>
    <message>
        <source>Please enter the string to search for.</source>
        <translation>Bitte geben Sie den Suchtext ein.</translation>
    </message>
    <message>
        <source>The selected list does not contain any cards.</source>
        <translation>Die gewählte Liste enthält keine Karten.</translation>
    </message>
    <message>
        <source>There was an error in the function to move cards from unknown to known words: The card was already in the list of known cards. There is probabely more than one card with the same ID.</source>
        <translation>In der Funktion, die Karten von den unbekannten zu den bekannten Wörtern verschiebt, ist ein Fehler aufgetreten: Die Karte war bereits in der Liste der bekannten Karten. Vermutlich gibt es mehrere Karten mit derselben ID.</translation>
    </message>
    <message>
        <source>The stored answer of this card has more than ten meanings, so your answer cannot be compared with it word by word. Please shorten the stored answer with &quot;Edit Card&quot;.</source>
        <translation>Die gespeicherte Antwort dieser Karte hat mehr als zehn Bedeutungen, deshalb kann Ihre Antwort nicht Wort für Wort mit ihr verglichen werden. Bitte kürzen Sie die gespeicherte Antwort mit &quot;Karte bearbeiten&quot;.</translation>
    </message>
</context>
<context>
    <name>TrainerApp</name>
    <message>
        <source>Usage: %1 [LIST FILE | --empty | --help | --version]

A vocabulary trainer. Opens the list file named on the command line; the
whole text after the program name is taken as its path, blanks included.

  --empty     start without a list (as with no argument)
  --help, -h  show this text and end
  --version   show the version number and end
</source>
        <translation>Aufruf: %1 [LISTENDATEI | --empty | --help | --version]

Ein Vokabeltrainer. Öffnet die auf der Befehlszeile genannte Listendatei; der
ganze Text nach dem Programmnamen gilt als ihr Pfad, Leerzeichen eingeschlossen.

  --empty     ohne Liste beginnen (wie ohne Argument)
  --help, -h  diesen Text zeigen und beenden
  --version   die Versionsnummer zeigen und beenden
</translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>User Guide</source>
        <translation>Benutzerhandbuch</translation>
    </message>
    <message>
        <source>The user guide is not installed: %1 is missing.

You can read it on the Kartomatrix website:
%2</source>
        <translation>Das Benutzerhandbuch ist nicht installiert: %1 fehlt.

Sie können es auf der Kartomatrix-Website lesen:
%2</translation>
    </message>
    <message>
        <source>en</source>
        <comment>language code of the user guide page in this language</comment>
        <translation>de</translation>
    </message>
</context>
<context>
    <name>UserGuideWindow</name>
    <message>
        <source>&amp;Find:</source>
        <translation>Such&amp;en:</translation>
    </message>
    <message>
        <source>Find in the user guide</source>
        <translation>Im Benutzerhandbuch suchen</translation>
    </message>
    <message>
        <source>Pre&amp;vious</source>
        <translation>&amp;Vorherige</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Nächste</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
</context>
</TS>
