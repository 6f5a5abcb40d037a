#include "Recovery.h"

#include "FormDesigner.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace designer {

namespace fs = std::filesystem;

namespace {

fs::path StateFolder() {
    if (const char* State = std::getenv("XDG_STATE_HOME"); State && *State)
        return fs::path(State) / "folio";
    const char* Home = std::getenv("HOME");
    return fs::path(Home && *Home ? Home : ".") / ".local" / "state" / "folio";
}

} // namespace

String RecoveryPath(const String& FileName, const String& FormName) {
    if (!FileName.empty()) return FileName + "~";
    return (StateFolder() / (FormName + ".form~")).string();
}

String RecoveryPath(const TFormDesigner& Designer) {
    return RecoveryPath(Designer.GetFileName(), Designer.GetForm()->GetName());
}

String WriteRecoveryCopy(TFormDesigner& Designer) {
    const String Path = RecoveryPath(Designer);
    std::error_code Ignored;
    // The state folder is the user's own, as the desktop's rules have it.
    if (Designer.GetFileName().empty()) {
        fs::create_directories(fs::path(Path).parent_path(), Ignored);
        fs::permissions(fs::path(Path).parent_path(), fs::perms::owner_all, Ignored);
    }
    Designer.WriteCopy(Path);
    return Path;
}

bool OfferRecoveryCopy(TFormDesigner& Designer, const std::function<bool(const String&)>& Ask) {
    const String Path = RecoveryPath(Designer);
    std::error_code Error;
    if (!fs::is_regular_file(Path, Error)) return false;
    const String Name = Designer.GetDocumentName();
    if (!Ask("The designer ended before the changes to " + Name +
             " were saved; they were kept in " + Path + ". Open them?"))
        return false;
    Designer.OpenRecovery(Path);
    fs::remove(Path, Error);
    return true;
}

} // namespace designer
