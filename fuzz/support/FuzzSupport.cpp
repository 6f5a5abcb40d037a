#include "fuzz/FuzzTarget.h"

#include <cstdio>
#include <cstdlib>

// The smoke driver defines this to keep the input that broke an invariant;
// under libFuzzer it is absent and libFuzzer keeps the input itself.
extern "C" void FolioFuzzKeepFailingInput() __attribute__((weak));

namespace folio::fuzz {

namespace {

TSeedWriter& Writer() {
    static TSeedWriter Registered = nullptr;
    return Registered;
}

} // namespace

void Fail(const char* File, int Line, const std::string& What) {
    std::fprintf(stderr, "\nFuzz invariant broken at %s:%d: %s\n", File, Line, What.c_str());
    if (FolioFuzzKeepFailingInput) FolioFuzzKeepFailingInput();
    std::fflush(stderr);
    std::abort();
}

void TSeeds::Add(const std::string& Name, TMemoryStream& Stream) {
    Add(Name, StreamBytes(Stream));
}

TSeedRegistration::TSeedRegistration(TSeedWriter SeedWriter) {
    Writer() = SeedWriter;
}

TSeedWriter RegisteredSeedWriter() {
    return Writer();
}

void PutByte(TBytes& Bytes, std::uint8_t Value) {
    Bytes.push_back(Value);
}

void PutU16(TBytes& Bytes, std::uint16_t Value) {
    Bytes.push_back(static_cast<std::uint8_t>(Value));
    Bytes.push_back(static_cast<std::uint8_t>(Value >> 8));
}

void PutInt(TBytes& Bytes, std::int32_t Value) {
    const auto V = static_cast<std::uint32_t>(Value);
    PutU16(Bytes, static_cast<std::uint16_t>(V));
    PutU16(Bytes, static_cast<std::uint16_t>(V >> 16));
}

void PutStr(TBytes& Bytes, const std::string& Value) {
    PutInt(Bytes, static_cast<std::int32_t>(Value.size()));
    Bytes.insert(Bytes.end(), Value.begin(), Value.end());
}

TBytes StreamBytes(TMemoryStream& Stream) {
    const auto* P = reinterpret_cast<const std::uint8_t*>(Stream.Memory());
    return TBytes(P, P + Stream.GetSize());
}

void FillStream(TMemoryStream& Stream, const std::uint8_t* Data, std::size_t Size) {
    Stream.Clear();
    Stream.WriteBuffer(Data, static_cast<std::int64_t>(Size));
    Stream.SetPosition(0);
}

} // namespace folio::fuzz
