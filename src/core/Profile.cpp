#include "core/Profile.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/AnsiText.h"
#include "core/AtomicFile.h"
#include "core/ProfileNumber.h"
#include "core/UiText.h"

namespace zarn {
namespace {

// Repacking text_ and dropping deleted lines cost a pass over everything, so they wait until there
// is enough to gain and at least as much dead as live.
constexpr std::size_t kMinimumGarbageToCompact = 64 * 1024;
constexpr std::size_t kMinimumTombstonesToDrop = 64;

}  // namespace

Profile::Profile(FilePath file) : file_(std::move(file)) { Load(); }

void Profile::Load() {
  std::optional<std::string> bytes = ReadFileBytes(file_);
  Clear();
  loadedUtf16_ = false;
  if (!bytes) return;
  // Another editor may have saved the file with a byte-order mark. UTF-8's would hide the first
  // section's header, and a save would then drop that whole section: it reads as blanks. UTF-16 reads
  // as nothing (every ASCII character holds a NUL), and a save would put what this session wrote in
  // place of everything the file holds: such a file is left as it is.
  if (bytes->starts_with("\xEF\xBB\xBF")) bytes->replace(0, 3, 3, ' ');
  loadedUtf16_ = bytes->starts_with("\xFF\xFE") || bytes->starts_with("\xFE\xFF");
  Parse(std::move(*bytes));
}

std::string_view Profile::KeyOf(const Line& line) const {
  return line.keySize == kNoKey ? std::string_view() : View(line.text).substr(0, line.keySize);
}

Profile::Span Profile::Store(std::string_view text) {
  Span span{text_.size(), text.size()};
  text_.append(text);
  return span;
}

Profile::Span Profile::Store(std::string_view key, std::string_view value) {
  Span span{text_.size(), key.size() + 1 + value.size()};
  text_.append(key);
  text_.push_back('=');
  text_.append(value);
  return span;
}

void Profile::Discard(Span span) { garbage_ += span.size; }

Profile::Section& Profile::AddSection(std::string_view name) {
  const Span span = Store(name);
  sections_.emplace_back().name = span;
  sectionIndex_[FoldCase(name)] = sections_.size() - 1;
  return sections_.back();
}

namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
bool IsBlank(char c) { return IsBlankByte(static_cast<unsigned char>(c)); }

// Finds line ends for positions that only move forward. The next CR and the next LF are each
// remembered until passed: looking for the LF afresh on every line would scan a file cut by CR
// alone to its end once per line.
class LineBreaks {
 public:
  LineBreaks(const std::string& text, std::size_t end) : text_(text), end_(end) {}

  // The first CR or LF at or after pos, or end.
  std::size_t Next(std::size_t pos) {
    if (lf_ < pos || !found_) lf_ = Find('\n', pos);
    if (cr_ < pos || !found_) cr_ = Find('\r', pos);
    found_ = true;
    return std::min(lf_, cr_);
  }

 private:
  std::size_t Find(char c, std::size_t pos) const {
    // text_ may grow meanwhile (rebuilt lines go to its end), so its data is fetched each time.
    const void* hit = std::memchr(text_.data() + pos, c, end_ - pos);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : end_;
  }

  const std::string& text_;
  const std::size_t end_;
  std::size_t lf_ = 0;
  std::size_t cr_ = 0;
  bool found_ = false;
};

}  // namespace

void Profile::Parse(std::string bytes) {
  // Reading builds on the file's own bytes: a line that needs no change is used where it lies.
  text_ = std::move(bytes);
  if (const std::size_t nul = text_.find('\0'); nul != std::string::npos) text_.resize(nul);
  const std::size_t end = text_.size();

  // Only the section headers are found now. A header is a line whose first byte after blanks is
  // "[" and whose last byte before blanks is "]", so the search goes from one "[" to the next and
  // looks at the line around it; each line is looked at to its end at most once.
  std::size_t used = 0;
  std::size_t pos = 0;
  LineBreaks breaks(text_, end);
  while (pos < end) {
    const void* found = std::memchr(text_.data() + pos, '[', end - pos);
    if (found == nullptr) break;
    const std::size_t bracket = static_cast<std::size_t>(static_cast<const char*>(found) - text_.data());
    std::size_t lineStart = bracket;
    while (lineStart > 0 && IsBlank(text_[lineStart - 1]) && !IsLineBreak(text_[lineStart - 1])) --lineStart;
    if (lineStart > 0 && !IsLineBreak(text_[lineStart - 1])) {
      pos = bracket + 1;  // something precedes it on its line
      continue;
    }
    const std::size_t lineEnd = breaks.Next(bracket);
    pos = lineEnd;
    std::size_t stop = lineEnd;
    while (stop > bracket && IsBlank(text_[stop - 1])) --stop;
    if (stop - bracket < 2 || text_[stop - 1] != ']') continue;

    if (!sections_.empty()) {
      Section& previous = sections_.back();
      previous.unread.size = lineStart - previous.unread.offset;
      used += previous.unread.size;
    }
    std::size_t nameBegin = bracket + 1;
    std::size_t nameEnd = stop - 1;
    while (nameBegin < nameEnd && IsBlank(text_[nameBegin])) ++nameBegin;
    while (nameEnd > nameBegin && IsBlank(text_[nameEnd - 1])) --nameEnd;
    Section& section = sections_.emplace_back();
    section.name = Span{nameBegin, nameEnd - nameBegin};
    section.unread = Span{lineEnd, 0};
    section.pending = true;
    sectionIndex_[FoldCase(View(section.name))] = sections_.size() - 1;
    used += section.name.size;
  }
  if (!sections_.empty()) {
    Section& last = sections_.back();
    last.unread.size = end - last.unread.offset;
    used += last.unread.size;
  }
  garbage_ = text_.size() - used;
  CompactText();
}

void Profile::ReadLines(const Section& section) const {
  if (!section.pending) return;
  section.pending = false;
  const Span block = section.unread;
  section.unread = Span{};
  garbage_ += block.size;
  std::size_t pos = block.offset;
  const std::size_t end = block.offset + block.size;
  LineBreaks breaks(text_, end);
  while (pos < end) {
    const std::size_t lineEnd = breaks.Next(pos);
    std::size_t begin = pos;
    std::size_t stop = lineEnd;
    pos = lineEnd + (lineEnd + 1 < end && text_[lineEnd] == '\r' && text_[lineEnd + 1] == '\n' ? 2 : 1);
    while (begin < stop && IsBlank(text_[begin])) ++begin;
    while (stop > begin && IsBlank(text_[stop - 1])) --stop;
    if (begin == stop || text_[begin] == ';') continue;

    // No header lies inside the block, so every other line belongs to the section.
    const void* found = std::memchr(text_.data() + begin, '=', stop - begin);
    if (found == nullptr) {
      section.lines.push_back(Line{Span{begin, stop - begin}, kNoKey, kNone, true});
    } else {
      const std::size_t equals = static_cast<std::size_t>(static_cast<const char*>(found) - text_.data());
      std::size_t keyEnd = equals;
      std::size_t valueBegin = equals + 1;
      while (keyEnd > begin && IsBlank(text_[keyEnd - 1])) --keyEnd;
      while (valueBegin < stop && IsBlank(text_[valueBegin])) ++valueBegin;
      Span span{begin, stop - begin};
      if (keyEnd != equals || valueBegin != equals + 1) {
        // Blanks around "=" go, so the line is built anew at the end of text_ (which may move; only
        // offsets are kept).
        span = Span{text_.size(), (keyEnd - begin) + 1 + (stop - valueBegin)};
        // Room first, so that the copies below read from text_ while it stays where it is.
        if (text_.capacity() < text_.size() + span.size)
          text_.reserve(std::max(2 * text_.capacity(), text_.size() + span.size));
        text_.append(text_, begin, keyEnd - begin);
        text_.push_back('=');
        text_.append(text_, valueBegin, stop - valueBegin);
      }
      section.lines.push_back(Line{span, keyEnd - begin, kNone, true});
    }
    ++section.liveLines;
    garbage_ -= std::min(garbage_, section.lines.back().text.size);
  }
}

const Profile::Section* Profile::FindSection(std::string_view name) const {
  const auto found = sectionIndex_.find(FoldCase(name));
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

void Profile::Index(const Section& section) const {
  ReadLines(section);
  section.keys.Reset(section.liveLines);
  const auto keyOf = KeysOf(section);
  for (std::size_t i = 0; i < section.lines.size(); ++i) {
    const Line& line = section.lines[i];
    if (!line.live || line.keySize == kNoKey) continue;
    line.previous = section.keys.Put(KeyOf(line), i, keyOf);
  }
  section.indexed = true;
}

std::size_t Profile::FindLine(const Section& section, std::string_view key) const {
  if (!section.indexed) Index(section);
  return section.keys.Find(key, KeysOf(section));
}

void Profile::DropTombstones(Section& section) {
  const std::size_t dead = section.lines.size() - section.liveLines;
  if (dead < kMinimumTombstonesToDrop || dead <= section.liveLines) return;
  std::erase_if(section.lines, [](const Line& line) { return !line.live; });
  section.keys = KeyIndex{};
  section.indexed = false;
}

void Profile::CompactText() {
  if (garbage_ < kMinimumGarbageToCompact || garbage_ <= text_.size() / 2) return;
  std::string packed;
  packed.reserve(text_.size() - garbage_);
  auto move = [&](Span& span) {
    const Span moved{packed.size(), span.size};
    packed.append(View(span));
    span = moved;
  };
  for (Section& section : sections_) {
    move(section.name);
    if (section.pending) move(section.unread);
    for (Line& line : section.lines) {
      if (line.live) move(line.text);
    }
  }
  text_ = std::move(packed);
  garbage_ = 0;
}

std::string Profile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return std::string(def);
  const std::size_t index = FindLine(*found, key);
  if (index == kNone) return std::string(def);
  const Line& line = found->lines[index];
  return std::string(View(line.text).substr(line.keySize + 1));
}

std::int32_t Profile::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return def;
  const std::size_t index = FindLine(*found, key);
  if (index == kNone) return def;
  const Line& line = found->lines[index];
  return ParseInteger(View(line.text).substr(line.keySize + 1)).value_or(def);
}

bool Profile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void Profile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const Section* existing = FindSection(section);
  Section& target =
      existing != nullptr ? sections_[static_cast<std::size_t>(existing - sections_.data())] : AddSection(section);
  if (!target.indexed) Index(target);
  const Span text = Store(key, value);
  // The new line's key is what precedes its first "=". A key holding "=" therefore never names a
  // line already there, but its line is found under that first part from now on.
  const std::size_t equals = key.find('=');
  const std::string_view lineKey = key.substr(0, equals);
  const std::size_t found = FindLine(target, lineKey);
  if (found != kNone && equals == std::string_view::npos) {
    Line& line = target.lines[found];
    Discard(line.text);
    line.text = text;
    line.keySize = key.size();
  } else {
    target.lines.push_back(Line{text, lineKey.size(), kNone, true});
    ++target.liveLines;
    target.lines.back().previous = target.keys.Put(lineKey, target.lines.size() - 1, KeysOf(target));
  }
  CompactText();
}

void Profile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void Profile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> Profile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  const Section* found = FindSection(section);
  if (found == nullptr) return keys;
  ReadLines(*found);
  keys.reserve(found->liveLines);
  for (const Line& line : found->lines) {
    if (line.live) keys.emplace_back(KeyOf(line));
  }
  return keys;
}

std::vector<std::string> Profile::ReadSections() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& section : sections_) names.emplace_back(View(section.name));
  return names;
}

bool Profile::SectionExists(std::string_view section) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return false;
  ReadLines(*found);
  return found->liveLines > 0;
}

void Profile::DeleteKey(std::string_view section, std::string_view key) {
  const Section* existing = FindSection(section);
  if (existing == nullptr) return;
  Section& target = sections_[static_cast<std::size_t>(existing - sections_.data())];
  const std::size_t index = FindLine(target, key);
  if (index == kNone) return;
  Line& line = target.lines[index];
  // An earlier line with the same key, if any, becomes the one found.
  target.keys.Replace(key, line.previous, KeysOf(target));
  line.live = false;
  --target.liveLines;
  Discard(line.text);
  DropTombstones(target);
  CompactText();
}

void Profile::Clear() {
  text_.clear();
  garbage_ = 0;
  sections_.clear();
  sectionIndex_.clear();
}

std::vector<std::string> Profile::GetStrings() const {
  std::vector<std::string> lines;
  for (const Section& section : sections_) {
    ReadLines(section);
    std::string& header = lines.emplace_back(1, '[');
    header += View(section.name);
    header += ']';
    for (const Line& line : section.lines) {
      if (line.live) lines.emplace_back(View(line.text));
    }
    lines.emplace_back();
  }
  return lines;
}

void Profile::SetStrings(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 1;
  std::string bytes;
  bytes.reserve(size);
  for (const std::string& line : lines) {
    bytes.append(line);
    bytes.push_back('\n');
  }
  Clear();
  Parse(std::move(bytes));
}

void Profile::UpdateFile() {
  if (loadedUtf16_) FailToWrite(file_, std::string(text::kUtf16NotRewritten));
  for (const Section& section : sections_) ReadLines(section);
  // Written straight from text_ in blocks: a large workbench file is not built a second time in
  // memory.
  AtomicFileWriter writer(file_);
  for (const Section& section : sections_) {
    writer.Append("[");
    writer.Append(View(section.name));
    writer.Append("]\r\n");
    for (const Line& line : section.lines) {
      if (!line.live) continue;
      writer.Append(View(line.text));
      writer.Append("\r\n");
    }
    writer.Append("\r\n");
  }
  writer.Commit();
}

void Profile::Rename(const FilePath& file, bool reload) {
  if (!reload) {
    file_ = file;
    return;
  }
  // Loaded aside first: when the file cannot be read, this profile keeps its content and name.
  Profile loaded(file);
  *this = std::move(loaded);
}

}  // namespace zarn
