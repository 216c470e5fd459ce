#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dravon/card/card_doc.h"
#include "dravon/card/card_host.h"

namespace dravon {

inline constexpr std::string_view kCardCacheExtension = "QDX";
inline constexpr std::string_view kCadExportExtension = "DCA";
inline constexpr std::string_view kPdfLinkExtension = "PDL";
inline constexpr std::string_view kPartsListFilter = "Dravon Files (*.lst)";
inline constexpr std::string_view kPartNumberLabel = "  P/N:";
inline constexpr std::string_view kEcLevelLabel = "  EC:";
// The framework's file-error messages; %1 is the path.
inline constexpr std::string_view kFileNotFound =
    "%1\nCannot find this file.\nPlease verify that the correct path and file name are given.";
inline constexpr std::string_view kFileAccessDenied = "Access to %1 was denied.";

// Cards are converted only in these folders; DRAVON_CARD_FOLDERS (":"-separated) replaces them.
inline constexpr std::string_view kDefaultCardFolders[] = {"/mnt/d/Ulvane/dravon/",
                                                           "/mnt/c/Ulvane/dravon/"};
inline constexpr std::string_view kCardFoldersVariable = "DRAVON_CARD_FOLDERS";

// Parts list layout: lines counted from 1, columns from 1.
inline constexpr std::size_t kFirstPartLine = 9;
inline constexpr std::size_t kShortestPartLine = 124;
inline constexpr std::size_t kPNumberLine = 144;
inline constexpr std::string_view kNotAssembledMark = "$";
inline constexpr std::string_view kNoAssembly = "NO_ASM";
inline constexpr std::string_view kPadOnly = "PADONLY";

// The folders where a card may be converted: DRAVON_CARD_FOLDERS when it is set, else the
// defaults. An entry without a final "/" gets one; empty entries are dropped.
[[nodiscard]] std::vector<std::string> cardFolders();

// The path up to and including its last "." followed by `extension` (a path without any "."
// gets one, so the sibling never lands in the current folder).
[[nodiscard]] std::string siblingPath(std::string_view partsList, std::string_view extension);
// The path up to and including its last "/".
[[nodiscard]] std::string folderOf(std::string_view path);

// Reads the parts list's text into the document: card name, part number, EC level, the
// entries; clears the rest of the model and refills the component list.
void readPartsList(CDravonDoc& doc, std::string_view text, CardHost& host);

// Opens the card whose parts list is at `path`: reads its card cache, or converts its CAD
// export once when the card lies in one of `folders` (that open still fails; the next one
// reads the new cache). Returns whether the card was opened.
bool openCard(CDravonDoc& doc, std::string_view path, CardHost& host,
              const std::vector<std::string>& folders);

// The framework's New: the title "Untitled"; the model and images stay as they are.
void newDocument(CDravonDoc& doc);

}  // namespace dravon
