#include "app/program.h"

#include "app/main.h"
#include "checklist/checklst.h"
#include "platform/widgets/application.h"

int RunProgram(int& argc, char** argv) {
    TApplication application(argc, argv);
    application.Initialize();
    // Measured once, before any window exists, from the style the application has chosen.
    ProbeCheckBoxSize();
    if (!application.CreateForm<TMainForm>()->SecondStart) {
        application.Run();
    }
    return 0;
}
