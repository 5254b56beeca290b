#pragma once

#include <QString>
#include <QStringList>

class MainDialog;

// Starts the program: the card store, the random generator, the main window with the
// document fonts, the preferences, and the modal run of the main window.
class TrainerApp {
public:
    static constexpr const char* kSettingsKey = "Kartomatrix";

    static const char* version();

    // The command line after the program name, joined by single blanks: the path of a
    // list file to open at the first paint. "--empty" alone starts without a list.
    static QString commandLineList(const QStringList& arguments);
    // What a command line of only "--help" (or "-h") or "--version" prints before the
    // program ends; empty for every other command line, which names a list. A file really
    // named so is given as ./--help.
    static QString commandLineAnswer(const QStringList& arguments);

    virtual ~TrainerApp() = default;

    int run(int& argc, char** argv);

protected:
    // Called once the main window is set up, just before it runs.
    virtual void aboutToRun(MainDialog& mainDialog) { (void)mainDialog; }
};
