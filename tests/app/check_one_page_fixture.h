#pragma once

#include "app/batch_check.h"
#include "files/text_file.h"
#include "platform/executable.h"
#include "platform/file_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

class CheckOnePageTest : public ::testing::Test {
protected:
    // The fake checker beside this test program, doing action with the output file.
    TProgramSettings Checker(std::string_view action) {
        const std::string checker = ExtractFilePath(ExeName()) + FAKE_CHECKER_NAME;
        return {"\"" + checker + "\" \"" + Output + "\" " + std::string(action), Output, "[", "]",
                Approved};
    }

    TTempDir Dir;
    std::string Output = Dir.Path() + "out put.txt";
    // The output file as the start-up's reset leaves it.
    TFileId Approved = SaveTextFile(Output, "", std::nullopt);
};
