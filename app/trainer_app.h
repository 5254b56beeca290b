#pragma once

#include <QString>
#include <QStringList>

class MainDialog;

// Starts the program: the card store, the random generator, the main window with the
// document fonts, the preferences, and the modal run of the main window.
class TrainerApp {
public:
    static constexpr const char* kSettingsKey = "Kartomatrix";

    // The command line after the program name, joined by single blanks: the path of a
    // list file to open at the first paint.
    static QString commandLineList(const QStringList& arguments);

    virtual ~TrainerApp() = default;

    int run(int& argc, char** argv);

protected:
    // Called once the main window is set up, just before it runs.
    virtual void aboutToRun(MainDialog& mainDialog) { (void)mainDialog; }
};
