#include "app/program.h"

#include "app/command_line.h"
#include "app/headless_run.h"
#include "app/main.h"
#include "checklist/checklst.h"
#include "platform/console.h"
#include "platform/widgets/application.h"

#include <algorithm>
#include <string>
#include <vector>

int RunProgram(int& argc, char** argv) {
    const bool japanese = UserLanguageIsJapanese();
    const TCommandLine line =
        ReadCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc), japanese);
    if (!line.Error.empty()) {
        WriteStandardError(line.Error + "\n");
        return 2;
    }
    switch (line.Mode) {
    case TCommandLine::Help:
        WriteStandardOutput(HelpText(japanese));
        return 0;
    case TCommandLine::Version:
        WriteStandardOutput(VersionText());
        return 0;
    case TCommandLine::Run:
        // No window system is touched: the run needs no display.
        return RunWithoutWindow(line);
    case TCommandLine::Window:
        break;
    }
    TApplication application(argc, argv);
    application.Initialize();
    // Measured once, before any window exists, from the style the application has chosen.
    ProbeCheckBoxSize();
    if (!application.CreateForm<TMainForm>()->SecondStart) {
        application.Run();
    }
    return 0;
}
