// The entry point of allcheck.
#include "app/main.h"
#include "checklist/checklst.h"
#include "platform/widgets/application.h"

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    application.Initialize();
    // Measured once, before any window exists, from the style the application has chosen.
    ProbeCheckBoxSize();
    application.CreateForm<TMainForm>();
    application.Run();
    return 0;
}
