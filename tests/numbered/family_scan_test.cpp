#include <gtest/gtest.h>

#include "numbered/family_table.h"
#include "numbered/member_scan.h"
#include "numbered/next_member.h"

namespace numbered {
namespace {

using Texts = std::vector<std::u16string>;

TEST(FamilyTable, RowsAsListed) {
    struct Case {
        int mode;
        std::u16string_view subject, object, element;
    };
    const Case cases[] = {
        {1, u"説明、着色ハッチ部(-HCHn)", u"-DCR", u"-HCH"},
        {2, u"副構造物(-STRn)", u"-BYP", u"-STR"},
        {4, u"主構造物(-STRn)、寸法線・寸法値(-DIMn)、文字列(-TXTn)", u"-STR", u"-STR"},
        {11, u"記号＋設備区分(-MKn)", u"-MCH", u"-MK "},
        {16, u"機械配管のプルボックス等(-BOXn)", u"-MCDT", u"-BOX"},
        {99, u"説明、着色部位の文字列、表題文字(-TXTn)", u"-DCR", u"-TXT"},
    };
    for (const auto& c : cases) {
        const Family* family = familyRow(c.mode);
        ASSERT_NE(family, nullptr);
        EXPECT_EQ(family->subject, c.subject);
        EXPECT_EQ(family->objectCode, c.object);
        EXPECT_EQ(family->elementCode, c.element);
    }
    for (int mode = 1; mode <= 99; ++mode) {
        EXPECT_EQ(familyRow(mode)->elementCode.size(), 4u) << mode;
    }
    for (int mode : {0, -1, 100, 32767}) {
        EXPECT_EQ(familyRow(mode), nullptr);
    }
    EXPECT_EQ(explanation(*familyRow(2)),
              u"副構造物(-STRn)について下表の既に登録済みレイヤー以外にレイヤーを増やすこと可能です");
}

TEST(MemberScan, MembersEndInObjectElementAndOneSuffix) {
    struct Case {
        std::u16string entry, object, element;
        bool member;
    };
    const Case cases[] = {
        {u"D-BYP-STR1", u"-BYP", u"-STR", true},
        {u"構造物D-BYP-STR2", u"-BYP", u"-STR", true},  // content text before does not matter
        {u"-BYP-STR2", u"-BYP", u"-STR", true},         // no life-cycle letter
        {u"D-BYP-STR12", u"-BYP", u"-STR", false},      // two characters after the element code
        {u"D-STR-STR1", u"-BYP", u"-STR", false},       // another object code
        {u"D-STR-STR1", u"-STR", u"-STR", true},
        {u"D-MCDT-BOX1", u"-MCDT", u"-BOX", true},  // five-character object code
        {u"D-MCH-MK 1", u"-MCH", u"-MK ", true},    // the element code's blank before the suffix
        {u"D-MCH-MK1", u"-MCH", u"-MK ", false},
        {u"-STR", u"-STR", u"-STR", false},  // four characters or fewer
        {u"D-BYP-STR1", u"", u"", false},    // no family chosen yet
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isMember(c.entry, c.object, c.element), c.member) << c.entry.size();
    }
}

TEST(MemberScan, ProposalFromTheLastMembersSuffix) {
    struct Case {
        Texts members;
        ProposalKind kind;
        std::u16string tail;
    };
    const Case cases[] = {
        {{}, ProposalKind::Next, u"-BYP-STR1"},
        {{u"D-BYP-STR1"}, ProposalKind::Next, u"-BYP-STR2"},
        {{u"D-BYP-STR8"}, ProposalKind::Next, u"-BYP-STR9"},
        {{u"D-BYP-STR9"}, ProposalKind::Next, u"-BYP-STRA"},
        {{u"D-BYP-STRA"}, ProposalKind::Next, u"-BYP-STRB"},
        {{u"D-BYP-STRY"}, ProposalKind::Next, u"-BYP-STRZ"},
        {{u"D-BYP-STR3", u"D-BYP-STR1"}, ProposalKind::Next, u"-BYP-STR2"},  // only the last counts
        {{u"D-BYP-STRZ"}, ProposalKind::Full, u"-BYP-STR["},
        {{u"D-BYP-STRa"}, ProposalKind::Unchanged, u""},  // lower case
        {{u"D-BYP-STR:"}, ProposalKind::Unchanged, u""},  // between "9" and "A"
        {{u"D-BYP-STR@"}, ProposalKind::Unchanged, u""},
        {{u"D-BYP-STR_"}, ProposalKind::Unchanged, u""},
        {{u"D-BYP-STRｱ"}, ProposalKind::Unchanged, u""},  // half-width katakana: one byte
        {{u"D-BYP-STR "}, ProposalKind::Next, u"-BYP-STR1"},
        {{u"D-BYP-STR-"}, ProposalKind::Next, u"-BYP-STR1"},
        {{u"D-BYP-STR/"}, ProposalKind::Next, u"-BYP-STR1"},
        {{u"D-BYP-STR壱"}, ProposalKind::Next, u"-BYP-STR1"},  // double-byte
    };
    for (const auto& c : cases) {
        const Proposal proposal = proposeNameTail(c.members, u"-BYP", u"-STR");
        EXPECT_EQ(proposal.kind, c.kind)
            << (c.members.empty() ? 0 : static_cast<int>(c.members.back().back()));
        EXPECT_EQ(proposal.tail, c.tail);
    }
}

TEST(Startup, ScansTheMainWindowListAndProposes) {
    FamilyCodes codes;
    const Texts combo1 = {u"構造物D-STR-STR3", u"D-BYP-STR1", u"-STR", u"D-STR-STR1", u"D-STR-DIM1"};
    StartupView view = runStartup(codes, 3, combo1);
    EXPECT_EQ(view.explanation,
              u"主構造物(-STRn)について下表の既に登録済みレイヤー以外にレイヤーを増やすこと可能です");
    EXPECT_EQ(view.familyNumber, u"3");
    EXPECT_FALSE(view.companionsOffered);
    EXPECT_EQ(view.members, (Texts{u"構造物D-STR-STR3", u"D-STR-STR1"}));
    EXPECT_EQ(view.nameTail, u"-STR-STR2");
    EXPECT_FALSE(view.familyFull);

    view = runStartup(codes, 4, combo1);  // the family with companions
    EXPECT_TRUE(view.companionsOffered);
    EXPECT_EQ(codes.elementCode, u"-STR");

    view = runStartup(codes, 0, {u"D-BYP-STR1"});  // outside 1 to 99: codes and Label1 stay
    EXPECT_EQ(view.explanation, std::nullopt);
    EXPECT_EQ(codes.objectCode, u"-STR");
    EXPECT_EQ(view.nameTail, u"-STR-STR1");

    FamilyCodes fresh;
    view = runStartup(fresh, 200, {u"D-BYP-STR1"});  // a new form: empty codes, nothing is a member
    EXPECT_TRUE(view.members.empty());
    EXPECT_EQ(view.nameTail, u"1");

    view = runStartup(codes, 11, {u"D-MCH-MK 1", u"D-MCH-MK1"});
    EXPECT_EQ(view.members, Texts{u"D-MCH-MK 1"});
    EXPECT_EQ(view.nameTail, u"-MCH-MK 2");

    view = runStartup(codes, 2, {u"D-BYP-STRz"});
    EXPECT_EQ(view.nameTail, std::nullopt);  // lower case leaves Label8

    view = runStartup(codes, 2, {u"D-BYP-STRY", u"D-BYP-STRZ"});
    EXPECT_TRUE(view.familyFull);
    EXPECT_EQ(view.nameTail, u"-BYP-STR[");
    EXPECT_EQ(kFamilyFullMessage,
              u"既にレイヤー情報がいっぱいです。\r36項目以上の同一レイヤー上のセットは無効です。");
    EXPECT_EQ(kFamilyFullTitle, u"レイヤー設定エラー");
}

TEST(Startup, DuringLayerCreationTheLayersOfferedBeforeCountAsExisting) {
    // Combo1 holds the run's layers so far; the entries it offered before the run follow, once per layer.
    const Texts combo1 = {u"枠D-TTL"};
    const Texts earlier = {u"枠D-TTL", u"追加D-BYP-STR1", u"別名D-TTL", u"追加D-BYP-STR2"};
    const Texts offered = layersOffered(combo1, earlier);
    EXPECT_EQ(offered, (Texts{u"枠D-TTL", u"追加D-BYP-STR1", u"追加D-BYP-STR2"}));
    FamilyCodes codes;
    const StartupView view = runStartup(codes, 2, offered);
    EXPECT_EQ(view.members, (Texts{u"追加D-BYP-STR1", u"追加D-BYP-STR2"}));
    EXPECT_EQ(view.nameTail, u"-BYP-STR3");
    EXPECT_EQ(layersOffered(combo1, {}), combo1);  // outside a run: Combo1 alone
}

}  // namespace
}  // namespace numbered
