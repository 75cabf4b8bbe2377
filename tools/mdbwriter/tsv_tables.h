#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "stddb/database.h"

// Tables as UTF-8 tab-separated text, one file per table ("<table name>.tsv").
//
//   # comment lines start with '#'
//   名称:Text(50)<TAB>色定数:Long<TAB>r:Integer
//   黒<TAB>0<TAB>0
//   任意<TAB>\N<TAB>\N
//
// The first non-comment line declares the columns as name:Type, with Type one of Text(n) (n = 1..255
// characters; plain Text is Text(255)), Integer (16-bit), Long (32-bit) and Double. Each further line is
// one row. \N is Null; in text, \t, \n, \r and \\ stand for a tab, a line feed, a carriage return and a
// backslash. An empty cell is empty text (and an error in a number column). Numbers use a full stop.
namespace mdbwriter {

tiermark::Result<stddb::Table> parseTsvTable(std::u16string name, std::string_view text);

// Every *.tsv file of the folder, in file-name order.
tiermark::Result<std::vector<stddb::Table>> readTsvFolder(const std::filesystem::path& folder);

// A database `factor` times the size of the sample: the drawing kinds of "図面マスター" and their layers in
// "レイヤーテーブル" are repeated under numbered drawing names ("一般図", "一般図(2)", …), so queries for
// the original names still find the original rows while every scan reads factor times as many rows.
std::vector<stddb::Table> scaleSample(std::vector<stddb::Table> tables, int factor);

}  // namespace mdbwriter
