#pragma once

#include "app/output_guard.h"
#include "app/site_scan.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

class OutputGuard : public ::testing::Test {
protected:
    void SetUp() override {
        Own = {Dir.Write("allcheck.INI", "[Program]\n"), Dir.Write("KESTOLA.INI", "[Directory]\n"),
               Dir.Write("allcheck", "#!/bin/sh\n")};
        Page = Dir.Write("web/a.html", "<p>");
        Sites.Add(Dir.MakeDir("web"));
    }
    // The rule as the main window asks it: after a scan of the sites as they are now.
    std::optional<std::string> Refusal(const std::string& output) {
        TFileList pages;
        ScanSites(Sites, pages);
        return OutputFileRefusal(output, Sites, pages, Own);
    }
    bool Refused(const std::string& output) { return Refusal(output).has_value(); }

    TTempDir Dir;
    TStringList Sites;
    std::vector<std::string> Own;
    std::string Page;
};
