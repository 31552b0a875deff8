#include "SecurityDescriptor.h"

#include <cwctype>
#include <iterator>

namespace setup {

namespace {

struct Code {
    const wchar_t* text;
    std::uint32_t value;
};

// The two-letter account aliases ConvertSecurityDescriptorToStringSecurityDescriptor
// writes for well-known accounts; an alias not listed stays as it is and so
// counts as an account that is not trusted.
constexpr struct {
    const wchar_t* alias;
    const wchar_t* sid;
} kAliases[] = {
    {L"BA", kAdministratorsSid}, {L"SY", kSystemSid}, {L"BU", kUsersSid}, {L"AU", kAuthenticatedUsersSid},
    {L"WD", kEveryoneSid},       {L"CO", kCreatorOwnerSid}, {L"AC", L"S-1-15-2-1"}, {L"OW", L"S-1-3-4"},
    {L"BG", L"S-1-5-32-546"},    {L"PU", L"S-1-5-32-547"}, {L"IU", L"S-1-5-4"},    {L"LS", L"S-1-5-19"},
    {L"NS", L"S-1-5-20"},
};

constexpr Code kRights[] = {
    {L"GA", 0x10000000}, {L"GX", 0x20000000}, {L"GW", 0x40000000}, {L"GR", 0x80000000}, {L"SD", 0x10000},
    {L"RC", 0x20000},    {L"WD", 0x40000},    {L"WO", 0x80000},    {L"FA", kFullControl}, {L"FR", 0x120089},
    {L"FW", 0x120116},   {L"FX", 0x1200A0},   {L"CC", 0x1},        {L"DC", 0x2},         {L"LC", 0x4},
    {L"SW", 0x8},        {L"RP", 0x10},       {L"WP", 0x20},       {L"DT", 0x40},        {L"LO", 0x80},
    {L"CR", 0x100},
};

constexpr Code kFlags[] = {
    {L"OI", kObjectInherit}, {L"CI", kContainerInherit}, {L"NP", kNoPropagate},
    {L"IO", kInheritOnly},   {L"ID", kInherited},
};

// Write, append, delete, delete entries, change permissions, take ownership.
constexpr std::uint32_t kChangeRights = 0x2 | 0x4 | 0x40 | 0x10000 | 0x40000 | 0x80000;
// Delete (also rename), delete entries, change permissions, take ownership.
constexpr std::uint32_t kMoveRights = 0x40 | 0x10000 | 0x40000 | 0x80000;

bool Trusted(const std::wstring& sid) {
    return sid == kAdministratorsSid || sid == kSystemSid || sid == kTrustedInstallerSid;
}

// Generic rights stand for the file rights they map to (GENERIC_MAPPING of files).
std::uint32_t FileRights(std::uint32_t mask) {
    std::uint32_t rights = mask & 0x0FFFFFFF;
    if (mask & 0x10000000) rights |= kFullControl;
    if (mask & 0x20000000) rights |= 0x1200A0;
    if (mask & 0x40000000) rights |= 0x120116;
    if (mask & 0x80000000) rights |= 0x120089;
    return rights;
}

// A deny entry cancels a grant only where it reaches at least as far.
bool Covers(const Ace& deny, const Ace& grant) {
    const std::uint8_t reach = kObjectInherit | kContainerInherit;
    if ((deny.flags & kInheritOnly) && !(grant.flags & kInheritOnly)) return false;
    if ((grant.flags & reach) & ~(deny.flags & reach)) return false;
    return !((deny.flags & kNoPropagate) && !(grant.flags & kNoPropagate) && (grant.flags & reach));
}

std::wstring Hex(std::uint32_t value) {
    std::wstring digits;
    do {
        digits.insert(digits.begin(), L"0123456789abcdef"[value % 16]);
        value /= 16;
    } while (value != 0);
    return L"0x" + digits;
}

std::wstring SidFrom(const std::wstring& text) {
    for (const auto& a : kAliases)
        if (text == a.alias) return a.sid;
    return text;
}

// Two-letter codes one after another ("OICI", "GXGR"); false for any other.
bool ReadCodes(const std::wstring& text, const Code* codes, std::size_t count, std::uint32_t* value) {
    if (text.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const Code* found = nullptr;
        for (std::size_t c = 0; c < count; ++c)
            if (text.compare(i, 2, codes[c].text) == 0) found = &codes[c];
        if (found == nullptr) return false;
        *value |= found->value;
    }
    return true;
}

bool ReadRights(const std::wstring& text, std::uint32_t* mask) {
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        for (std::size_t i = 2; i < text.size(); ++i) {
            if (!std::iswxdigit(static_cast<wint_t>(text[i])) || i > 9) return false;
            const wchar_t c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[i])));
            *mask = *mask * 16 + static_cast<std::uint32_t>(c <= L'9' ? c - L'0' : c - L'a' + 10);
        }
        return true;
    }
    return ReadCodes(text, kRights, std::size(kRights), mask);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts(1);
    for (wchar_t c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

bool ReadAce(const std::wstring& text, Ace* ace) {
    const std::vector<std::wstring> fields = Split(text, L';');
    if (fields.size() != 6 || !fields[3].empty() || !fields[4].empty() || fields[5].empty()) return false;
    if (fields[0] != L"A" && fields[0] != L"D") return false;
    ace->allow = fields[0] == L"A";
    std::uint32_t flags = 0;
    if (!ReadCodes(fields[1], kFlags, std::size(kFlags), &flags) || !ReadRights(fields[2], &ace->mask)) return false;
    ace->flags = static_cast<std::uint8_t>(flags);
    ace->sid = SidFrom(fields[5]);
    return true;
}

bool SidCharacter(wchar_t c) { return std::iswalnum(static_cast<wint_t>(c)) || c == L'-'; }

}  // namespace

std::wstring ToSddl(const SecurityDescriptor& descriptor) {
    std::wstring text;
    if (!descriptor.owner.empty()) text += L"O:" + descriptor.owner;
    if (!descriptor.hasDacl) return text;
    text += descriptor.daclProtected ? L"D:P" : L"D:";
    for (const Ace& ace : descriptor.dacl) {
        text += ace.allow ? L"(A;" : L"(D;";
        for (const Code& flag : kFlags)
            if (ace.flags & flag.value) text += flag.text;
        text += L";" + Hex(ace.mask) + L";;;" + ace.sid + L")";
    }
    return text;
}

std::optional<SecurityDescriptor> ParseSddl(const std::wstring& sddl) {
    SecurityDescriptor descriptor;
    std::size_t at = 0;
    while (at < sddl.size()) {
        if (at + 2 > sddl.size() || sddl[at + 1] != L':') return std::nullopt;
        const wchar_t part = sddl[at];
        at += 2;
        if (part == L'O' || part == L'G') {
            const std::size_t start = at;
            // "G:" and "D:" follow without a separator: a SID stops before them.
            while (at < sddl.size() && SidCharacter(sddl[at]) && sddl.compare(at, 2, L"G:") != 0 &&
                   sddl.compare(at, 2, L"D:") != 0 && sddl.compare(at, 2, L"S:") != 0)
                ++at;
            if (part == L'O') descriptor.owner = SidFrom(sddl.substr(start, at - start));
        } else if (part == L'D') {
            const std::size_t open = sddl.find(L'(', at);
            const std::wstring flags = sddl.substr(at, open == std::wstring::npos ? std::wstring::npos : open - at);
            if (flags == L"NO_ACCESS_CONTROL") return descriptor;  // no DACL: everyone may do everything
            descriptor.hasDacl = true;
            descriptor.daclProtected = flags.find(L'P') != std::wstring::npos;
            at = open == std::wstring::npos ? sddl.size() : open;
            while (at < sddl.size() && sddl[at] == L'(') {
                const std::size_t close = sddl.find(L')', at);
                if (close == std::wstring::npos) return std::nullopt;
                Ace ace;
                if (!ReadAce(sddl.substr(at + 1, close - at - 1), &ace)) return std::nullopt;
                descriptor.dacl.push_back(ace);
                at = close + 1;
            }
        } else if (part == L'S') {
            break;  // the audit list says nothing about who may change the folder
        } else {
            return std::nullopt;
        }
    }
    return descriptor;
}

SecurityDescriptor ProtectedFolder() {
    const std::uint8_t both = kObjectInherit | kContainerInherit;
    return {kAdministratorsSid, true, true,
            {{true, kFullControl, both, kSystemSid},
             {true, kFullControl, both, kAdministratorsSid},
             {true, kReadAndExecute, both, kUsersSid}}};
}

namespace {

// The rights accounts other than Administrators, SYSTEM and TrustedInstaller
// hold, after the deny entries before each grant; CREATOR OWNER aside.
// `onItself`: only what applies to the folder itself, not what its files and
// subfolders inherit.
std::uint32_t RightsOfOthers(const SecurityDescriptor& descriptor, bool onItself) {
    std::uint32_t rights = 0;
    for (std::size_t i = 0; i < descriptor.dacl.size(); ++i) {
        const Ace& grant = descriptor.dacl[i];
        if (!grant.allow || Trusted(grant.sid) || grant.sid == kCreatorOwnerSid) continue;
        if (onItself && (grant.flags & kInheritOnly)) continue;
        std::uint32_t granted = FileRights(grant.mask);
        // Windows decides each right by the first entry that names it; a deny
        // for another group may not reach every member of this one.
        for (std::size_t j = 0; j < i; ++j) {
            const Ace& deny = descriptor.dacl[j];
            if (!deny.allow && (deny.sid == grant.sid || deny.sid == kEveryoneSid) && Covers(deny, grant))
                granted &= ~FileRights(deny.mask);
        }
        rights |= granted;
    }
    return rights;
}

}  // namespace

bool ChangeableByNonAdministrators(const SecurityDescriptor& descriptor) {
    if (!Trusted(descriptor.owner) || !descriptor.hasDacl) return true;
    return (RightsOfOthers(descriptor, false) & kChangeRights) != 0;
}

bool MovableByNonAdministrators(const SecurityDescriptor& descriptor) {
    if (!Trusted(descriptor.owner) || !descriptor.hasDacl) return true;
    return (RightsOfOthers(descriptor, true) & kMoveRights) != 0;
}

}  // namespace setup
