#pragma once

#include "framework/core/RegistryStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
