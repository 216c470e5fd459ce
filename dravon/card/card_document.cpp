#include "dravon/card/card_document.h"

#include <cstdlib>
#include <filesystem>

#include "dravon/card/cad_export_reader.h"
#include "dravon/card/card_cache.h"
#include "dravon/card/text_fields.h"

namespace dravon {
namespace {

CListEntry partEntry(std::string_view line) {
  CListEntry e;
  e.refDes = std::string(columns(line, 2, 6));
  e.partNumber = std::string(columns(line, 8, 14));
  e.description =
      columns(line, 16, 16) == " " ? std::string(7, ' ') : std::string(columns(line, 16, 40));
  e.pNumber = line.size() >= kPNumberLine
                  ? static_cast<int8_t>(parseDecimal(columns(line, 145, 146)))
                  : int8_t{0};
  e.notAssembled = columns(line, 1, 1) == kNotAssembledMark ||
                   columns(line, 8, 13) == kNoAssembly || columns(line, 8, 14) == kPadOnly;
  return e;
}

std::string fileNameOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void resetSelection(CDravonDoc& doc) {
  doc.foundName.clear();
  doc.foundPin = -1;
  doc.currentNet = -1;
  doc.highlightLayer = -1;
  doc.multiNetMarkup = false;
}

void setTitle(CDravonDoc& doc, std::string_view path) {
  doc.title = fileNameOf(path);
  if (!doc.cardName.empty()) {
    doc.title = doc.cardName + std::string(kPartNumberLabel) + doc.cardPartNumber +
                std::string(kEcLevelLabel) + doc.ecLevel;
  }
}

}  // namespace

std::vector<std::string> cardFolders() {
  std::vector<std::string> folders;
  const char* list = std::getenv(std::string(kCardFoldersVariable).c_str());
  if (list == nullptr) {
    for (std::string_view folder : kDefaultCardFolders) folders.emplace_back(folder);
    return folders;
  }
  std::string_view rest(list);
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    std::string folder(rest.substr(0, colon));
    rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    if (folder.empty()) continue;
    if (folder.back() != '/') folder += '/';
    folders.push_back(std::move(folder));
  }
  return folders;
}

std::string siblingPath(std::string_view partsList, std::string_view extension) {
  const std::size_t dot = partsList.rfind('.');
  std::string path(dot == std::string_view::npos ? std::string(partsList) + '.'
                                                 : std::string(partsList.substr(0, dot + 1)));
  return path.append(extension);
}

std::string folderOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

void readPartsList(CDravonDoc& doc, std::string_view text, CardHost& host) {
  const std::vector<std::string_view> lines = splitListLines(text);
  const auto line = [&lines](std::size_t n) {
    return n <= lines.size() ? lines[n - 1] : std::string_view{};
  };
  doc.cardPartNumber = std::string(columns(line(2), 8, 14));
  doc.ecLevel = std::string(columns(line(3), 8, 14));
  doc.cardName = std::string(columns(line(5), 16, 115));

  doc.clearModel();
  for (std::size_t n = kFirstPartLine; n <= lines.size(); ++n) {
    if (line(n).size() >= kShortestPartLine) doc.listEntries.push_back(partEntry(line(n)));
  }

  std::vector<std::string> texts;
  texts.reserve(doc.listEntries.size());
  for (std::size_t i = 0; i < doc.listEntries.size(); ++i) {
    texts.push_back(doc.componentText(static_cast<int>(i)));
  }
  host.refillComponentList(texts);
  doc.foundIndex = -1;
}

bool openCard(CDravonDoc& doc, std::string_view givenPath, CardHost& host,
              const std::vector<std::string>& folders) {
  // The framework works with full paths, so a relative path names the same sibling files and
  // folder rules as the full one.
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(givenPath), error);
  const std::string path = error ? std::string(givenPath) : full.lexically_normal().string();

  // Step 1: a parts list that cannot be read ends the open with the framework's message; the
  // previous card stays. A file of length 0 is read as a list without entries, so that it
  // never mixes the previous card's entries into this one.
  std::string text;
  if (!readWholeFile(path, text)) {
    const bool exists = std::filesystem::exists(path, error);
    doc.showMessageBox(archiveText(exists ? kFileAccessDenied : kFileNotFound, path),
                       MessageIcon::kExclamation);
    return false;
  }
  readPartsList(doc, text, host);

  host.setWaitCursor(true);
  const std::string cache = siblingPath(path, kCardCacheExtension);
  doc.pdlPath = siblingPath(path, kPdfLinkExtension);
  doc.cardFolder = folderOf(cache);

  if (std::filesystem::exists(cache, error)) {
    if (!readCardCache(doc, cache)) {
      doc.clearModel();
      host.setWaitCursor(false);
      return false;
    }
    host.readPdfLinks(doc);
    host.buildSideImages(doc);
    host.setWaitCursor(false);
    resetSelection(doc);
    doc.pathName = path;
    setTitle(doc, path);
    host.cardOpened(doc);
    return true;
  }

  // Not converted yet: only a card in one of the card folders is converted, and that open
  // still fails; the next open finds the new cache.
  const std::string folder = folderOf(cache);
  bool convertible = false;
  for (const std::string& f : folders) convertible = convertible || folder == f;
  if (convertible) {
    if (!readCadExport(doc, siblingPath(path, kCadExportExtension)) ||
        !writeCardCache(doc, cache)) {
      doc.clearModel();
    }
  }
  host.setWaitCursor(false);
  return false;
}

void newDocument(CDravonDoc& doc) {
  doc.title = std::string(kUntitled);
}

}  // namespace dravon
