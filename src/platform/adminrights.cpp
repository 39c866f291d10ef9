#include "platform/adminrights.h"

#ifdef Q_OS_WIN
#include <windows.h>
#include <vector>
#include <string>
#else
#include <grp.h>
#include <unistd.h>
#include <cstring>
#include <vector>
#endif

namespace supplink {

#ifdef Q_OS_WIN
namespace {
bool accountName(PSID sid, std::wstring& name)
{
    wchar_t account[256] = {};
    wchar_t domain[256] = {};
    DWORD accountSize = 255, domainSize = 255;
    SID_NAME_USE use;
    if (!LookupAccountSidW(nullptr, sid, account, &accountSize, domain, &domainSize, &use))
        return false;
    name = account;
    return true;
}
} // namespace

bool processIsAdministrator()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &token))
        return false;
    bool result = false;
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenGroups, nullptr, 0, &size) && size >= 1) {
        std::vector<unsigned char> buffer(size);
        if (GetTokenInformation(token, TokenGroups, buffer.data(), size, &size)) {
            SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
            PSID admins = nullptr;
            if (AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                         0, 0, 0, &admins)) {
                std::wstring adminName;
                if (accountName(admins, adminName)) {
                    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
                    for (DWORD i = 0; i < groups->GroupCount && !result; ++i) {
                        std::wstring name;
                        result = accountName(groups->Groups[i].Sid, name) && name == adminName;
                    }
                }
                FreeSid(admins);
            }
        }
    }
    CloseHandle(token);
    return result;
}
#else
bool processIsAdministrator()
{
    if (geteuid() == 0)
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    if (getgroups(count, groups.data()) < 0)
        return false;
    for (gid_t gid : groups) {
        if (const group* g = getgrgid(gid)) {
            if (std::strcmp(g->gr_name, "sudo") == 0 || std::strcmp(g->gr_name, "wheel") == 0 ||
                std::strcmp(g->gr_name, "admin") == 0)
                return true;
        }
    }
    return false;
}
#endif

} // namespace supplink
