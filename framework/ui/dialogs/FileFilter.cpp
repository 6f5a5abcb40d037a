#include "framework/ui/dialogs/FileFilter.h"

#include <cctype>

namespace folio {

namespace {
std::vector<String> Split(const String& Text, char Separator) {
    std::vector<String> Parts;
    size_t Start = 0;
    while (true) {
        const size_t End = Text.find(Separator, Start);
        Parts.push_back(Text.substr(Start, End == String::npos ? String::npos : End - Start));
        if (End == String::npos) return Parts;
        Start = End + 1;
    }
}

String Trim(const String& S) {
    size_t B = 0, E = S.size();
    while (B < E && std::isspace(static_cast<unsigned char>(S[B]))) ++B;
    while (E > B && std::isspace(static_cast<unsigned char>(S[E - 1]))) --E;
    return S.substr(B, E - B);
}

bool SameLetter(char A, char B) {
    return std::tolower(static_cast<unsigned char>(A)) ==
           std::tolower(static_cast<unsigned char>(B));
}
} // namespace

std::vector<TFileFilterEntry> ParseFileFilter(const String& Filter) {
    std::vector<TFileFilterEntry> Entries;
    if (Filter.empty()) return Entries;
    const std::vector<String> Parts = Split(Filter, '|');
    for (size_t I = 0; I < Parts.size(); I += 2) {
        TFileFilterEntry Entry;
        Entry.Description = Parts[I];
        if (I + 1 < Parts.size())
            for (const String& M : Split(Parts[I + 1], ';'))
                if (const String T = Trim(M); !T.empty()) Entry.Masks.push_back(T);
        if (Entry.Masks.empty()) Entry.Masks.push_back("*");
        Entries.push_back(std::move(Entry));
    }
    return Entries;
}

bool MatchesMask(const String& Name, const String& Mask) {
    if (Mask == "*.*" || Mask == "*") return true;
    // Iterative matching with one backtrack point for the last star: linear
    // in practice and never recursive, whatever the mask holds.
    size_t N = 0, M = 0, StarM = String::npos, StarN = 0;
    while (N < Name.size()) {
        if (M < Mask.size() &&
            (Mask[M] == '?' || (Mask[M] != '*' && SameLetter(Mask[M], Name[N])))) {
            ++N;
            ++M;
        } else if (M < Mask.size() && Mask[M] == '*') {
            StarM = M++;
            StarN = N;
        } else if (StarM != String::npos) {
            M = StarM + 1;
            N = ++StarN;
        } else {
            return false;
        }
    }
    while (M < Mask.size() && Mask[M] == '*') ++M;
    return M == Mask.size();
}

bool MatchesAnyMask(const String& Name, const std::vector<String>& Masks) {
    for (const String& M : Masks)
        if (MatchesMask(Name, M)) return true;
    return false;
}

String AddDefaultExt(const String& FileName, const String& DefaultExt) {
    if (DefaultExt.empty() || FileName.empty()) return FileName;
    const size_t Slash = FileName.rfind('/');
    const String Last = Slash == String::npos ? FileName : FileName.substr(Slash + 1);
    // A leading dot names a hidden file, not an extension.
    const size_t Dot = Last.rfind('.');
    if (Dot != String::npos && Dot > 0) return FileName;
    const String Ext = DefaultExt[0] == '.' ? DefaultExt.substr(1) : DefaultExt;
    return FileName + "." + Ext;
}

} // namespace folio
