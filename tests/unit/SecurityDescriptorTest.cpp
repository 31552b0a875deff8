#include <gtest/gtest.h>

#include "SecurityDescriptor.h"

using namespace setup;

// Descriptors as ConvertSecurityDescriptorToStringSecurityDescriptor writes them.
TEST(SecurityDescriptor, ChangeableByNonAdministrators) {
    const struct {
        const char* name;
        const wchar_t* sddl;
        bool changeable;
    } cases[] = {
        {"Program Files",
         L"O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464D:PAI"
         L"(A;;FA;;;S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464)(A;CIIO;GA;;;S-1-5-80-"
         L"956008885-3418522649-1831038044-1853292631-2271478464)(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)"
         L"(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)"
         L"(A;;0x1200a9;;;AC)(A;OICIIO;GXGR;;;AC)",
         false},
        {"made by Setup", L"O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)", false},
        {"C:\\ child as Windows makes it",
         L"O:BAG:S-1-5-21-1-2-3-513D:AI(A;ID;FA;;;BA)(A;OICIIOID;GA;;;BA)(A;ID;FA;;;SY)(A;OICIIOID;GA;;;SY)"
         L"(A;OICIID;0x1200a9;;;BU)(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)",
         true},
        {"owned by a standard user", L"O:S-1-5-21-1-2-3-1001D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", true},
        {"Users granted Modify", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;BU)", true},
        {"Users granted generic write on new files", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OIIO;GW;;;BU)", true},
        {"Users granted generic all on new files", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OIIO;GA;;;BU)", true},
        {"Users may only change permissions", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;;WD;;;BU)", true},
        {"Users may only take ownership", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;;0x80000;;;BU)", true},
        {"Users may only delete entries", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;;DT;;;BU)", true},
        {"Users may read, list and run", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FRFX;;;BU)", false},
        {"LOCAL SERVICE granted Modify", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;LS)", true},
        {"an empty DACL lets only the owner in", L"O:BAD:", false},
        {"deny to Everyone cancels the grant", L"O:BAD:PAI(D;OICI;0xd0046;;;WD)(A;OICI;0x1301bf;;;BU)", false},
        {"deny to the same group cancels it", L"O:BAD:PAI(D;OICI;FA;;;BU)(A;OICI;FA;;;BU)", false},
        {"deny after the grant comes too late", L"O:BAD:PAI(A;OICI;0x1301bf;;;BU)(D;OICI;FA;;;BU)", true},
        {"deny to another group may miss members", L"O:BAD:PAI(D;OICI;FA;;;AU)(A;OICI;0x1301bf;;;BU)", true},
        {"deny for new files only leaves the folder", L"O:BAD:PAI(D;OICIIO;FA;;;BU)(A;OICI;0x1301bf;;;BU)", true},
        {"deny without subfolders leaves them", L"O:BAD:PAI(D;OI;FA;;;BU)(A;OICI;0x1301bf;;;BU)", true},
        {"deny without files leaves them", L"O:BAD:PAI(D;CI;FA;;;BU)(A;OICI;0x1301bf;;;BU)", true},
        {"deny one level deep leaves the levels below", L"O:BAD:PAI(D;OICINP;FA;;;BU)(A;OICI;0x1301bf;;;BU)", true},
        {"deny of some rights leaves the others", L"O:BAD:PAI(D;OICI;WD;;;BU)(A;OICI;0x1301bf;;;BU)", true},
        {"deny reaching further than the grant", L"O:BAD:PAI(D;OICI;FA;;;BU)(A;OI;0x1301bf;;;BU)", false},
        {"deny one level deep, grant too", L"O:BAD:PAI(D;OICINP;FA;;;BU)(A;OICINP;0x1301bf;;;BU)", false},
        {"deny and grant for new entries only", L"O:BAD:PAI(D;OICIIO;FA;;;BU)(A;OICIIO;GA;;;BU)", false},
        {"generic deny cancels generic grant", L"O:BAD:PAI(D;OICI;GA;;;BU)(A;OICI;GW;;;BU)", false},
        {"CREATOR OWNER only", L"O:SYD:PAI(A;OICIIO;GA;;;CO)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", false},
        {"CREATOR OWNER by its SID", L"O:S-1-5-18D:PAI(A;OICIIO;GA;;;S-1-3-0)(A;OICI;FA;;;S-1-5-32-544)", false},
        {"no DACL, an audit list after the group", L"O:BAG:SYS:(AU;SA;FA;;;WD)", true},
        {"no DACL at all", L"O:BAD:NO_ACCESS_CONTROL", true},
    };
    for (const auto& c : cases) {
        const auto descriptor = ParseSddl(c.sddl);
        ASSERT_TRUE(descriptor.has_value()) << c.name;
        EXPECT_EQ(ChangeableByNonAdministrators(*descriptor), c.changeable) << c.name;
    }
    for (const wchar_t* unread : {L"O:BAD:(XA;;FA;;;BU;(x))", L"O:BAD:(OA;;FA;;;BU)",
                                  L"O:BAD:(A;;0x;;;BU)", L"O:BAD:(A;;0x123456789;;;BU)"})
        EXPECT_FALSE(ParseSddl(unread).has_value()) << "what the model cannot hold is not read";
    EXPECT_FALSE(ParseSddl(L"O:BAD:AI(A;;FA;;;PU)")->daclProtected);
}

// A folder above the install folder: creating entries in it is harmless,
// moving it or its entries away is not; what entries inherit does not count.
TEST(SecurityDescriptor, MovableByNonAdministrators) {
    const struct {
        const char* name;
        const wchar_t* sddl;
        bool movable;
    } cases[] = {
        {"C:\\ as Windows sets it up",
         L"O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)"
         L"(A;OICI;0x1200a9;;;BU)(A;OICIIO;SDGXGWGR;;;AU)(A;;0x4;;;AU)",
         false},
        {"users may write data and add entries", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;;0x1201bf;;;BU)", false},
        {"owned by a standard user", L"O:S-1-5-21-1-2-3-1001D:PAI(A;OICI;FA;;;BA)", true},
        {"no DACL", L"O:BAD:NO_ACCESS_CONTROL", true},
        {"users may delete entries", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;;DT;;;AU)", true},
        {"users may delete or rename it", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;;SD;;;BU)", true},
        {"users may change its permissions", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;;WD;;;WD)", true},
        {"users may take ownership", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;;WO;;;BU)", true},
        {"generic all for users", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;;GA;;;BU)", true},
        {"denied first", L"O:BAD:PAI(D;;SDDT;;;BU)(A;;0x1301bf;;;BU)", false},
    };
    for (const auto& c : cases) {
        const auto descriptor = ParseSddl(c.sddl);
        ASSERT_TRUE(descriptor.has_value()) << c.name;
        EXPECT_EQ(MovableByNonAdministrators(*descriptor), c.movable) << c.name;
    }
}
