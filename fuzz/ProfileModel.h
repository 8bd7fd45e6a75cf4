#pragma once
// The profile's reading and writing rules as a plain model: a vector of sections searched from the
// back, read byte by byte without any of the profile's shortcuts. Shared by the profile fuzz targets.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/AnsiText.h"
#include "FuzzCheck.h"

class Model {
 public:
  // The reading rules, byte by byte, without any of the profile's shortcuts.
  explicit Model(std::string_view bytes) {
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
      if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') continue;
      ReadLine(bytes.substr(start, i - start));
      if (i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }

  std::optional<std::string> Read(std::string_view section, std::string_view key) const {
    const Section* found = Find(section);
    if (found == nullptr) return std::nullopt;
    const int line = FindLine(*found, key);
    if (line < 0) return std::nullopt;
    const std::string& text = found->lines[static_cast<std::size_t>(line)];
    return text.substr(text.find('=') + 1);
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) {
    Section* found = Find(section);
    if (found == nullptr) found = &sections_.emplace_back(Section{std::string(section), {}});
    const std::string line = std::string(key) + "=" + std::string(value);
    const int index = FindLine(*found, key);
    if (index < 0) {
      found->lines.push_back(line);
    } else {
      found->lines[static_cast<std::size_t>(index)] = line;
    }
  }
  void Delete(std::string_view section, std::string_view key) {
    Section* found = Find(section);
    if (found == nullptr) return;
    const int index = FindLine(*found, key);
    if (index >= 0) found->lines.erase(found->lines.begin() + index);
  }
  std::vector<std::string> Keys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* found = Find(section)) {
      for (const std::string& line : found->lines) {
        const std::size_t equals = line.find('=');
        keys.push_back(equals == std::string::npos ? std::string() : line.substr(0, equals));
      }
    }
    return keys;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) names.push_back(section.name);
    return names;
  }
  std::vector<std::string> Written() const {
    std::vector<std::string> lines;
    for (const Section& section : sections_) {
      lines.push_back("[" + section.name + "]");
      lines.insert(lines.end(), section.lines.begin(), section.lines.end());
      lines.emplace_back();
    }
    return lines;
  }
  void Clear() { sections_.clear(); }

 private:
  struct Section {
    std::string name;
    std::vector<std::string> lines;
  };

  static std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) text.remove_suffix(1);
    return text;
  }

  void ReadLine(std::string_view raw) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line[0] == ';') return;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      sections_.push_back(Section{std::string(Trim(line.substr(1, line.size() - 2))), {}});
      return;
    }
    if (sections_.empty()) return;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      sections_.back().lines.emplace_back(line);
    } else {
      sections_.back().lines.push_back(std::string(Trim(line.substr(0, equals))) + "=" +
                                       std::string(Trim(line.substr(equals + 1))));
    }
  }

  const Section* Find(std::string_view name) const {
    for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
      if (zarn::EqualsIgnoreCase(it->name, name)) return &*it;
    }
    return nullptr;
  }
  Section* Find(std::string_view name) { return const_cast<Section*>(std::as_const(*this).Find(name)); }

  static int FindLine(const Section& section, std::string_view key) {
    for (int i = static_cast<int>(section.lines.size()) - 1; i >= 0; --i) {
      const std::string& line = section.lines[static_cast<std::size_t>(i)];
      const std::size_t equals = line.find('=');
      if (equals != std::string::npos && zarn::EqualsIgnoreCase(std::string_view(line).substr(0, equals), key))
        return i;
    }
    return -1;
  }

  std::vector<Section> sections_;
};
