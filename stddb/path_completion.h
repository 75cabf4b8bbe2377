#pragma once

#include <string>
#include <string_view>

namespace stddb {

// Completes a pasted path to the path of the database file: a path ending in one of the four accepted file
// names (TIERMARK.mdb, TIERMARK.MDB, Tiermark.mdb, Tiermark.MDB) stays; one ending in the folder name
// TIERMARK or Tiermark gets "\Tiermark.MDB"; one ending in "\" gets "Tiermark.MDB"; any other gets
// "\Tiermark.MDB". Every comparison is exact, case included.
std::u16string CompletePastedPath(std::u16string_view pasted);

}  // namespace stddb
