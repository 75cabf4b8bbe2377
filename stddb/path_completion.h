#pragma once

#include <string>
#include <string_view>

namespace stddb {

// Completes a pasted path to the path of the database file. The text is first freed of what a copied path
// brings along: blanks (ideographic ones too), tabs and line breaks around it, and the double quotes that
// Explorer's "パスのコピー" puts around it. Then a path ending in one of the four accepted file names
// (TIERMARK.mdb, TIERMARK.MDB, Tiermark.mdb, Tiermark.MDB) stays; one ending in the folder name TIERMARK or
// Tiermark gets a separator and "Tiermark.MDB"; one ending in the separator gets "Tiermark.MDB"; any other
// gets a separator and "Tiermark.MDB". Every comparison is exact, case included.
//
// The separator is the one the path uses: the platform's own (nativeSeparator) when the text holds it,
// otherwise "\" when it holds that (a Windows path), otherwise "/" when it holds that; a text without any
// separator gets the platform's own.
//
// A path on a network share keeps its UNC form: "\\server\share\CAD" gives "\\server\share\CAD\Tiermark.MDB".
std::u16string CompletePastedPath(std::u16string_view pasted, char16_t nativeSeparator);

// The path a file dialog chose, as the registration form shows and stores it: where the platform's
// separator is "\", every "/" becomes "\", so that a file on a network share keeps its UNC form
// ("\\server\share\...", which the dialog gives as "//server/share/..."); elsewhere the path stays as it is.
std::u16string ChosenFilePath(std::u16string_view chosen, char16_t nativeSeparator);

}  // namespace stddb
