#pragma once

// What every fuzz target includes.
//
// A target is one file in fuzz/targets/ that defines LLVMFuzzerTestOneInput,
// drives one reader of outside bytes with the input, and checks an invariant
// of the result with FOLIO_FUZZ_CHECK: not only "no crash", but what the
// reader promises (a failed load changes nothing, a successful one survives a
// round trip). The same file writes its seed inputs with the project's own
// writers in a FOLIO_FUZZ_SEEDS block. fuzz/CMakeLists.txt says how a target
// is built (libFuzzer with clang, or the plain smoke driver with any
// compiler) and how ctest runs it.
//
// A reader is expected to fail only by raising an Exception; any other
// exception escapes the target and counts as a finding.

#include "framework/core/Streams.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace folio::fuzz {

using TBytes = std::vector<std::uint8_t>;

// Reports a broken invariant and aborts; libFuzzer and the smoke driver both
// keep the input that did it.
[[noreturn]] void Fail(const char* File, int Line, const std::string& What);

// The seed inputs of a target, by file name. They go into the repository,
// so they stay small.
class TSeeds {
public:
    void Add(const std::string& Name, TBytes Bytes) { FItems.emplace_back(Name, std::move(Bytes)); }
    void Add(const std::string& Name, TMemoryStream& Stream);
    const std::vector<std::pair<std::string, TBytes>>& Items() const { return FItems; }

private:
    std::vector<std::pair<std::string, TBytes>> FItems;
};

using TSeedWriter = void (*)(TSeeds& Seeds);

// Made by FOLIO_FUZZ_SEEDS; a program holds one target, hence one writer.
struct TSeedRegistration {
    explicit TSeedRegistration(TSeedWriter Writer);
};
TSeedWriter RegisteredSeedWriter();

// Little-endian integers and length-prefixed strings, as the stream formats
// store them, for building inputs by hand.
void PutByte(TBytes& Bytes, std::uint8_t Value);
void PutU16(TBytes& Bytes, std::uint16_t Value);
void PutInt(TBytes& Bytes, std::int32_t Value);
void PutStr(TBytes& Bytes, const std::string& Value);

// The whole content of a memory stream, and a memory stream holding Size
// bytes at position 0.
TBytes StreamBytes(TMemoryStream& Stream);
void FillStream(TMemoryStream& Stream, const std::uint8_t* Data, std::size_t Size);

} // namespace folio::fuzz

#define FOLIO_FUZZ_CHECK(Cond, Message)                                                            \
    do {                                                                                           \
        if (!(Cond))                                                                               \
            ::folio::fuzz::Fail(__FILE__, __LINE__, std::string(#Cond) + ": " + (Message));        \
    } while (0)

// Defines the target's seed writer: FOLIO_FUZZ_SEEDS { Seeds.Add(...); }
#define FOLIO_FUZZ_SEEDS                                                                           \
    static void FolioFuzzSeeds(::folio::fuzz::TSeeds& Seeds);                                      \
    static const ::folio::fuzz::TSeedRegistration FolioFuzzSeedRegistration(FolioFuzzSeeds);       \
    static void FolioFuzzSeeds([[maybe_unused]] ::folio::fuzz::TSeeds& Seeds)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);
