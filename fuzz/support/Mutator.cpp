#include "fuzz/support/Mutator.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace folio::fuzz {

namespace {

constexpr std::uint8_t InterestingBytes[] = {0, 1, 2, 0x7F, 0x80, 0xFE, 0xFF, 'B', 'M', 100};
constexpr std::uint32_t InterestingInts[] = {
    0,          1,          2,          3,          4,      12,         14,      40,
    100,        255,        256,        0x7FFF,     0x8000, 0xFFFF,     0x10000, 0x7FFFFFFF,
    0x80000000, 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFF9C, 32768,  0x00800000, 8192,    1u << 20};

} // namespace

std::size_t TMutator::Below(std::size_t Limit) {
    return Limit == 0 ? 0 : static_cast<std::size_t>(FRandom() % Limit);
}

TBytes TMutator::Mutate(const TBytes& Base, const TBytes& Other, std::size_t MaxSize) {
    TBytes Bytes = Base;
    const std::size_t Edits = 1 + Below(4);
    for (std::size_t I = 0; I < Edits; ++I) Edit(Bytes, Other);
    if (Bytes.size() > MaxSize) Bytes.resize(MaxSize);
    return Bytes;
}

void TMutator::Edit(TBytes& Bytes, const TBytes& Other) {
    const auto At = [&](std::size_t Offset) {
        return Bytes.begin() + static_cast<std::ptrdiff_t>(Offset);
    };
    const std::size_t Size = Bytes.size();
    switch (Below(FWords.empty() ? 11 : 13)) {
    case 0: // flip a bit
        if (Size) Bytes[Below(Size)] ^= static_cast<std::uint8_t>(1u << Below(8));
        break;
    case 1: // a random byte
        if (Size) Bytes[Below(Size)] = Byte();
        break;
    case 2: // a boundary byte
        if (Size) Bytes[Below(Size)] = InterestingBytes[Below(std::size(InterestingBytes))];
        break;
    case 3:   // a boundary 32-bit value, little-endian
    case 4: { // a 32-bit value nudged up or down
        if (Size < 4) break;
        const std::size_t Offset = Below(Size - 3);
        std::uint32_t V = 0;
        for (int K = 0; K < 4; ++K) V |= static_cast<std::uint32_t>(Bytes[Offset + K]) << (8 * K);
        if (Below(2) == 0)
            V = InterestingInts[Below(std::size(InterestingInts))];
        else
            V += static_cast<std::uint32_t>(Below(33)) - 16u;
        for (int K = 0; K < 4; ++K) Bytes[Offset + K] = static_cast<std::uint8_t>(V >> (8 * K));
        break;
    }
    case 5: { // erase a range
        if (!Size) break;
        const std::size_t Offset = Below(Size);
        const std::size_t Count = 1 + Below(std::min<std::size_t>(Size - Offset, 64));
        Bytes.erase(At(Offset), At(Offset + Count));
        break;
    }
    case 6: { // insert random bytes
        const std::size_t Offset = Below(Size + 1);
        TBytes Fresh(1 + Below(16));
        for (auto& B : Fresh) B = Byte();
        Bytes.insert(At(Offset), Fresh.begin(), Fresh.end());
        break;
    }
    case 7: { // repeat a range in place
        if (!Size) break;
        const std::size_t Offset = Below(Size);
        const std::size_t Count = 1 + Below(std::min<std::size_t>(Size - Offset, 256));
        const TBytes Piece(At(Offset), At(Offset + Count));
        Bytes.insert(At(Offset), Piece.begin(), Piece.end());
        break;
    }
    case 8: { // copy a range over another place
        if (Size < 2) break;
        const std::size_t From = Below(Size);
        const std::size_t To = Below(Size);
        const std::size_t Count = 1 + Below(std::min<std::size_t>({Size - From, Size - To, 64}));
        std::copy_n(TBytes(At(From), At(From + Count)).begin(), Count, At(To));
        break;
    }
    case 9: // cut the end off
        if (Size) Bytes.resize(Below(Size));
        break;
    case 10: { // this input's start, the other's end
        if (Other.empty()) break;
        const std::size_t Keep = Below(Size + 1);
        const std::size_t From = Below(Other.size());
        Bytes.resize(Keep);
        Bytes.insert(Bytes.end(), Other.begin() + static_cast<std::ptrdiff_t>(From), Other.end());
        break;
    }
    case 11: { // a dictionary word inserted
        const TBytes& Word = FWords[Below(FWords.size())];
        Bytes.insert(At(Below(Size + 1)), Word.begin(), Word.end());
        break;
    }
    case 12: { // a dictionary word written over what is there
        const TBytes& Word = FWords[Below(FWords.size())];
        const std::size_t Offset = Below(Size + 1);
        if (Offset + Word.size() > Bytes.size()) Bytes.resize(Offset + Word.size());
        std::copy(Word.begin(), Word.end(), At(Offset));
        break;
    }
    }
}

std::vector<TBytes> ReadDictionary(const std::string& FileName) {
    std::ifstream In(FileName);
    if (!In) throw std::runtime_error("cannot read the dictionary " + FileName);
    std::vector<TBytes> Words;
    std::string Line;
    for (int Number = 1; std::getline(In, Line); ++Number) {
        const std::size_t First = Line.find_first_not_of(" \t");
        if (First == std::string::npos || Line[First] == '#') continue;
        const std::size_t Open = Line.find('"');
        const std::size_t Close = Line.rfind('"');
        if (Open == std::string::npos || Close <= Open)
            throw std::runtime_error(FileName + ":" + std::to_string(Number) + ": no quoted word");
        TBytes Word;
        for (std::size_t I = Open + 1; I < Close; ++I) {
            if (Line[I] != '\\' || I + 1 >= Close) {
                Word.push_back(static_cast<std::uint8_t>(Line[I]));
                continue;
            }
            const char Next = Line[++I];
            if (Next == 'x' && I + 2 < Close) {
                Word.push_back(
                    static_cast<std::uint8_t>(std::stoi(Line.substr(I + 1, 2), nullptr, 16)));
                I += 2;
            } else {
                Word.push_back(static_cast<std::uint8_t>(Next));
            }
        }
        Words.push_back(std::move(Word));
    }
    return Words;
}

} // namespace folio::fuzz
