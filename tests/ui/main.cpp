// The Qt Test cases of the editor's windows, run on the offscreen platform.

#include "ui/editor_application.h"

int runMainWindowTests(int argc, char** argv);
int runDialogTests(int argc, char** argv);
int runResponsivenessTests(int argc, char** argv);
int runEditWindowTests(int argc, char** argv);
int runProgrammerWindowTests(int argc, char** argv);
int runFindDialogsTests(int argc, char** argv);
int runSettingsWindowTests(int argc, char** argv);
int runPrintTests(int argc, char** argv);
int runHistoryKeysTests(int argc, char** argv);

int main(int argc, char** argv) {
    tal::EditorApplication app(argc, argv);
    int failures = 0;
    failures += runMainWindowTests(argc, argv);
    failures += runDialogTests(argc, argv);
    failures += runEditWindowTests(argc, argv);
    failures += runProgrammerWindowTests(argc, argv);
    failures += runFindDialogsTests(argc, argv);
    failures += runSettingsWindowTests(argc, argv);
    failures += runPrintTests(argc, argv);
    failures += runHistoryKeysTests(argc, argv);
    failures += runResponsivenessTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
