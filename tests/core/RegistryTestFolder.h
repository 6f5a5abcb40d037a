#pragma once

#include "framework/core/RegistryStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Points the registry at a new temporary folder for one test and removes it
// afterwards.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char Name[] = "/tmp/folio_registry_XXXXXX";
        ASSERT_NE(mkdtemp(Name), nullptr);
        Folder = Name;
        folio::SetRegistryFolder(Folder + "/store");
    }
    void TearDown() override {
        folio::SetRegistryFolder("");
        std::filesystem::remove_all(Folder);
    }

    std::string StoreFile(folio::HKEY Root = folio::HKEY_CURRENT_USER) const {
        return folio::RegistryFileName(Root);
    }
    // Files of the store folder that are neither a root's file nor its lock:
    // what a save left behind.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> Names;
        if (!std::filesystem::exists(Folder + "/store")) return Names;
        for (const auto& Entry : std::filesystem::directory_iterator(Folder + "/store")) {
            const std::string Name = Entry.path().filename();
            if (!Name.ends_with(".keys") && !Name.ends_with(".keys.lock")) Names.push_back(Name);
        }
        std::sort(Names.begin(), Names.end());
        return Names;
    }
    static std::string ReadBytes(const std::string& Path) {
        std::ifstream In(Path, std::ios::binary);
        std::ostringstream Out;
        Out << In.rdbuf();
        return Out.str();
    }
    static void WriteBytes(const std::string& Path, const std::string& Bytes) {
        std::filesystem::create_directories(std::filesystem::path(Path).parent_path());
        std::ofstream(Path, std::ios::binary) << Bytes;
    }

    std::string Folder;
};
