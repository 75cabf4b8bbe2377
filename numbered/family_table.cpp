#include "numbered/family_table.h"

#include <array>

namespace numbered {

namespace {

// The families that the standard lets grow, indexed by LayerAddMode from 1: subject of the explanation,
// object code, element code. Row 4 names three families (-STRn, -DIMn, -TXTn); it extends the first of
// them, -STR, and its two check boxes add the same-numbered -DIM and -TXT members at the same time.
// Row 11's element code "-MK " ends in a blank, so that it is four characters like the others.
constexpr std::array<Family, 99> kFamilies = {{
    {u"説明、着色ハッチ部(-HCHn)", u"-DCR", u"-HCH"},
    {u"副構造物(-STRn)", u"-BYP", u"-STR"},
    {u"主構造物(-STRn)", u"-STR", u"-STR"},
    {u"主構造物(-STRn)、寸法線・寸法値(-DIMn)、文字列(-TXTn)", u"-STR", u"-STR"},  // row 4: see above
    {u"主構造物の構造物n の文字列(-TXTn)", u"-STR", u"-TXT"},
    {u"主構造物の寸法(-DIMn)", u"-STR", u"-DIM"},
    {u"主機、補機、盤(-KIKn)", u"-MCH", u"-KIK"},
    {u"想像線(-PHNn)", u"-MCH", u"-PHN"},
    {u"隠れ線(-HIDn)", u"-MCH", u"-HID"},
    {u"中心線(-CNTn)", u"-MCH", u"-CNT"},
    {u"記号＋設備区分(-MKn)", u"-MCH", u"-MK "},
    {u"旗上げ（風船） ＋ 設備区分(-HTXn)", u"-MCH", u"-HTX"},
    {u"その他(-ETCn)", u"-MCH", u"-ETC"},
    {u"線（盤外結線等）(-SENn)", u"-MCH", u"-SEN"},
    {u"配筋(-BARn)", u"-MCH", u"-BAR"},
    {u"機械配管のプルボックス等(-BOXn)", u"-MCDT", u"-BOX"},
    {u"電気配管のプルボックス等(-BOXn)", u"-ECDT", u"-BOX"},
    {u"装置、設備の端子箱等(-BOXn)", u"-EEQP", u"-BOX"},
    {u"機械、配管系統の端子箱等(-BOXn)", u"-MEC", u"-BOX"},
    {u"電気、通信系統の端子箱等(-BOXn)", u"-ELC", u"-BOX"},
    {u"ケーブルの端子箱等(-BOXn)", u"-CBL", u"-BOX"},
    {u"電気配管の配管接続材(-CLSn)", u"-ECDT", u"-CLS"},
    {u"機械配管の配管接続材(-CLSn)", u"-MCDT", u"-CLS"},
    {u"電気、通信系統のケーブル接続材(-CLSn)", u"-ELC", u"-CLS"},
    {u"装置、設備のケーブル接続材(-CLSn)", u"-EEQP", u"-CLS"},
    {u"ケーブル接続材(-CLSn)", u"-CBL", u"-CLS"},
    {u"機械、配管系統のケーブル接続材(-CLSn)", u"-MEC", u"-CLS"},
    {u"基準の寸法(-DIMn)", u"-BMK", u"-DIM"},
    {u"装置、設備の寸法(-DIMn)", u"-EEQP", u"-DIM"},
    {u"寸法線、引出し線、寸法値(-DIMn)", u"-MCH", u"-DIM"},
    {u"説明、着色部位の寸法(-DIMn)", u"-DCR", u"-DIM"},
    {u"電気、通信系統の寸法(-DIMn)", u"-ELC", u"-DIM"},
    {u"副構造物の寸法(-DIMn)", u"-BYP", u"-DIM"},
    {u"機械、配管系統の寸法(-DIMn)", u"-MEC", u"-DIM"},
    {u"現況地物、既設構造物の寸法(-DIMn)", u"-BGD", u"-DIM"},
    {u"機械配管の寸法(-DIMn)", u"-MCDT", u"-DIM"},
    {u"電気配管の寸法(-DIMn)", u"-ECDT", u"-DIM"},
    {u"ケーブルの寸法(-DIMn)", u"-CBL", u"-DIM"},
    {u"ハッチング(-HCHn)", u"-MCH", u"-HCH"},
    {u"副構造物のハッチング(-HCHn)", u"-BYP", u"-HCH"},
    {u"装置、設備のハッチング(-HCHn)", u"-EEQP", u"-HCH"},
    {u"現況地物、既設構造物のハッチング(-HCHn)", u"-BGD", u"-HCH"},
    {u"主構造物のハッチング(-HCHn)", u"-STR", u"-HCH"},
    {u"機械、配管系統のハッチング(-HCHn)", u"-MEC", u"-HCH"},
    {u"電気、通信系統のハッチング(-HCHn)", u"-ELC", u"-HCH"},
    {u"ケーブルのハッチング(-HCHn)", u"-CBL", u"-HCH"},
    {u"機械配管のハッチング(-HCHn)", u"-MCDT", u"-HCH"},
    {u"電気配管のハッチング(-HCHn)", u"-ECDT", u"-HCH"},
    {u"盤 ＋ 記号（数字）(-KIKn)", u"-MCH", u"-KIK"},
    {u"電気制御設備 ＋ 記号（数字）(-KIKn)", u"-MCH", u"-KIK"},
    {u"説明、着色部位の記号(-MAKn)", u"-DCR", u"-MAK"},
    {u"機械、配管系統のマンホール、ハンドホール等(-MHHn)", u"-MEC", u"-MHH"},
    {u"電気配管のマンホール、ハンドホール等(-MHHn)", u"-ECDT", u"-MHH"},
    {u"ケーブルのマンホール、ハンドホール等(-MHHn)", u"-CBL", u"-MHH"},
    {u"電気、通信系統のマンホール、ハンドホール等(-MHHn)", u"-ELC", u"-MHH"},
    {u"機械配管のマンホール、ハンドホール等(-MHHn)", u"-MCDT", u"-MHH"},
    {u"電気、通信系統の工事対象物（新設、移設、仮設、改造、更新、撤去）(-OBJn)", u"-ELC", u"-OBJ"},
    {u"機械、配管系統の工事対象物（新設、移設、仮設、改造、更新、撤去）(-OBJn)", u"-MEC", u"-OBJ"},
    {u"ケーブルの工事対象物（新設、移設、仮設、改造、更新、撤去）(-OBJn)", u"-CBL", u"-OBJ"},
    {u"電気配管の工事対象物（新設、移設、仮設、改造、更新、撤去）(-OBJn)", u"-ECDT", u"-OBJ"},
    {u"基準の工事対象物（新設、移設、仮設、改造、更新、撤去）(-OBJn)", u"-BMK", u"-OBJ"},
    {u"機械配管の工事対象物（新設、移設、仮設、改造、更新、撤去）(-OBJn)", u"-MCDT", u"-OBJ"},
    {u"装置、設備の工事対象物（新設、移設、仮設、改造、更新、撤去）(-OBJn)", u"-EEQP", u"-OBJ"},
    {u"機械配管のその他(-OTRn)", u"-MCDT", u"-OTR"},
    {u"電気、通信系統のその他(-OTRn)", u"-ELC", u"-OTR"},
    {u"装置、設備のその他(-OTRn)", u"-EEQP", u"-OTR"},
    {u"説明、着色部位のその他(-OTRn)", u"-DCR", u"-OTR"},
    {u"基準のその他(-OTRn)", u"-BMK", u"-OTR"},
    {u"電気配管のその他(-OTRn)", u"-ECDT", u"-OTR"},
    {u"ケーブルのその他(-OTRn)", u"-CBL", u"-OTR"},
    {u"現況地物、既設構造物のその他(-OTRn)", u"-BGD", u"-OTR"},
    {u"図枠、表題欄のその他(-OTRn)", u"-TTL", u"-OTR"},
    {u"主構造物のその他(-OTRn)", u"-STR", u"-OTR"},
    {u"副構造物のその他(-OTRn)", u"-BYP", u"-OTR"},
    {u"機械、配管系統のその他(-OTRn)", u"-MEC", u"-OTR"},
    {u"回路・配線＋記号（数字）(-SENn)", u"-MCH", u"-SEN"},
    {u"電気、通信系統の支持物(-SPRn)", u"-ELC", u"-SPR"},
    {u"装置、設備の支持物(-SPRn)", u"-EEQP", u"-SPR"},
    {u"ケーブルの支持物(-SPRn)", u"-CBL", u"-SPR"},
    {u"電気配管の支持物(-SPRn)", u"-ECDT", u"-SPR"},
    {u"副構造物の支持物(-SPRn)", u"-BYP", u"-SPR"},
    {u"機械配管の支持物(-SPRn)", u"-MCDT", u"-SPR"},
    {u"機械、配管系統の支持物(-SPRn)", u"-MEC", u"-SPR"},
    {u"主構造物の支持物(-SPRn)", u"-STR", u"-SPR"},
    {u"構造物 ＋ 設備区分（数字）(-STRn)", u"-MCH", u"-STR"},
    {u"土木、建築物、基礎の構造線（新設部、更新部）(-STRn)", u"-MCH", u"-STR"},
    {u"主構造物の構造物n(シールドトンネル、その他の構造物等)(-STRn)", u"-STR", u"-STR"},
    {u"機械配管の文字列、表題文字(-TXTn)", u"-MCDT", u"-TXT"},
    {u"装置、設備の文字列、表題文字(-TXTn)", u"-EEQP", u"-TXT"},
    {u"図枠、表題欄の文字列、表題文字(-TXTn)", u"-TTL", u"-TXT"},
    {u"現況地物、既設構造物の文字列、表題文字(-TXTn)", u"-BGD", u"-TXT"},
    {u"基準の文字列、表題文字(-TXTn)", u"-BMK", u"-TXT"},
    {u"主構造物の文字列、表題文字(-TXTn)", u"-STR", u"-TXT"},
    {u"副構造物の文字列、表題文字(-TXTn)", u"-BYP", u"-TXT"},
    {u"機械、配管系統の文字列、表題文字(-TXTn)", u"-MEC", u"-TXT"},
    {u"ケーブルの文字列、表題文字(-TXTn)", u"-CBL", u"-TXT"},
    {u"電気、通信系統の文字列、表題文字(-TXTn)", u"-ELC", u"-TXT"},
    {u"電気配管の文字列、表題文字(-TXTn)", u"-ECDT", u"-TXT"},
    {u"説明、着色部位の文字列、表題文字(-TXTn)", u"-DCR", u"-TXT"},
}};

}  // namespace

const Family* familyRow(int layerAddMode) {
    if (layerAddMode < 1 || layerAddMode > static_cast<int>(kFamilies.size())) {
        return nullptr;
    }
    return &kFamilies[static_cast<std::size_t>(layerAddMode) - 1];
}

std::u16string explanation(const Family& family) {
    return std::u16string(family.subject) + std::u16string(kExplanationTail);
}

}  // namespace numbered
