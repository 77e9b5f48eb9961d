#pragma once
// The Qt Test classes of the main window and its document commands, run one after another
// by one executable.

namespace quarrix::testing {

int RunMainWindowTests(int argc, char** argv);
int RunDocumentTests(int argc, char** argv);
int RunRealDialogTests(int argc, char** argv);
int RunPlaySoundTests(int argc, char** argv);
int RunFileDropTests(int argc, char** argv);
int RunKeptOptionsTests(int argc, char** argv);
int RunStartFilesTests(int argc, char** argv);
int RunRecoveryTests(int argc, char** argv);

}  // namespace quarrix::testing
