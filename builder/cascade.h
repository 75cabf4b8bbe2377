#pragma once

#include <string>
#include <string_view>

#include "stddb/database.h"

namespace builder {

// The number of work types that the shipped "工種テーブル" holds before the construction kind at the given
// list index, so that work-type keys run on from kind to kind. No selection (-1) or an unknown kind gives 0.
int kindOffset(int kindIndex);

// The work-type key ("工種名" of "図面マスター", "工種ID" of "レイヤーテーブル"): the work type's position
// counted from 1 plus its kind's offset. Kind index 2 and work-type index 4 give 19.
int workTypeKey(int kindIndex, int workTypeIndex);
// The key as the hidden label holds it: decimal digits, no sign, no blanks.
std::u16string workTypeKeyText(int kindIndex, int workTypeIndex);

// "S", "D", "C" or "M" for the stage list index 0 to 3; empty for no selection or any other index.
std::u16string lifeCycleLetter(int stageIndex);

// One entry of page 1's list of the drawing kind's layers: with standard names only the life-cycle letter,
// otherwise the
// "内容" text, followed by "図面オブジェクト" and "作図要素". Null fields join as empty text.
std::u16string pageOneLayerEntry(bool standardNamesOnly, int stageIndex, const stddb::Value& content,
                                 const stddb::Value& object, const stddb::Value& element);
// One entry of page 2's list of the drawing kind's standard layers: always letter + "図面オブジェクト" +
// "作図要素".
std::u16string pageTwoLayerEntry(int stageIndex, const stddb::Value& object, const stddb::Value& element);

// Whether a drawing name can stand between the single quotes of the layer filter: one that holds a single
// quote itself cannot, and its layers cannot be looked up.
bool drawingNameFitsFilter(std::u16string_view drawingName);
// What the builder says when a drawing name holds a single quote.
std::u16string quotedDrawingNameMessage(std::u16string_view drawingName);

// Filter texts of the cascade, composed exactly as the database queries expect them.
std::u16string kindFilter(int kindNumber);               // 種別 = n
std::u16string workTypeFilter(std::u16string_view key);  // 工種名 = key
std::u16string layerFilter(std::u16string_view key,
                           std::u16string_view drawingName);  // 工種ID = … and 図面名 ='…'
std::u16string colourFilter(std::u16string_view colourName);  // 名称 = '…'
std::u16string paperFilter(std::u16string_view designation);  // 呼び方 = '…'

}  // namespace builder
