#include "extract/list_check.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "extract/package_source.h"
#include "extract/package_tables.h"
#include "extract/redirect_copy.h"
#include "extract/server_ini.h"
#include "extract/trigger_entry.h"
#include "runtime/ascii.h"
#include "runtime/file_io.h"
#include "runtime/ordered_work.h"

namespace quarrix {
namespace {

constexpr std::string_view kDuplicatesHeader = "[Duplicates]";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Lets maps keyed by std::string be searched with a string_view, without a copy.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
  }
};
using TextSet = std::unordered_set<std::string, TextHash, std::equal_to<>>;
template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

// What a check needs of one package: where it is, its flags and its sound names upper-cased,
// or why it cannot be read.
struct PackageFacts {
  std::string path;
  std::uint32_t flags = 0;
  TextSet upper_names;
  std::optional<std::string> error;
};

PackageFacts ReadPackageFacts(const std::string& path) {
  PackageFacts facts;
  facts.path = path;
  try {
    // Only a regular file is opened: a pipe or a device could block or never end.
    if (!IsExistingFile(path)) throw FileOpenError(path);
    ReportingMemoryFor(FileWork::kRead, path, [&] {
      const PackageTables tables = ReadPackageTables(path);
      facts.flags = tables.header.package_flags;
      for (const SoundExport& sound : FindSoundExports(tables)) {
        facts.upper_names.insert(AsciiUpper(sound.name.text));
      }
    });
  } catch (const QuarrixError& error) {
    facts.error = error.what();
  }
  return facts;
}

// The packages of one check: each file name looked up once, each file read once.
class PackageCache {
 public:
  explicit PackageCache(PackageLookup& lookup) : lookup_(lookup) {}

  // Looks up each file name and reads every package found, on `threads` threads: each
  // package is a few small reads, so a server of a thousand of them is read at once.
  void ReadAll(std::span<const std::string_view> file_names, unsigned threads) {
    std::vector<PackageFacts*> unread;
    for (const std::string_view file_name : file_names) {
      if (by_file_name_.contains(file_name)) continue;
      PackageFacts* facts = nullptr;
      if (const std::optional<std::string> path = lookup_.Find(file_name)) {
        auto [read, fresh] = by_path_.try_emplace(*path);
        if (fresh) {
          read->second = std::make_unique<PackageFacts>();
          read->second->path = *path;
          unread.push_back(read->second.get());
        }
        facts = read->second.get();
      }
      by_file_name_.emplace(std::string(file_name), facts);
    }
    struct NoState {};
    std::size_t next = 0;
    RunInOrder<PackageFacts*, NoState>(
        WorkerThreads(threads, unread.size()), 4,
        [&](PackageFacts*& slot) {
          if (next == unread.size()) return false;
          slot = unread[next++];
          return true;
        },
        [](NoState&, PackageFacts*& slot) { *slot = ReadPackageFacts(slot->path); },
        [](PackageFacts*&) {});
  }

  // The package a file name finds, or null when no folder holds it.
  const PackageFacts* Find(std::string_view file_name) {
    if (const auto known = by_file_name_.find(file_name); known != by_file_name_.end()) {
      return known->second;
    }
    const PackageFacts* facts = nullptr;
    if (const std::optional<std::string> path = lookup_.Find(file_name)) {
      auto [read, fresh] = by_path_.try_emplace(*path);
      if (fresh) read->second = std::make_unique<PackageFacts>(ReadPackageFacts(*path));
      facts = read->second.get();
    }
    by_file_name_.emplace(std::string(file_name), facts);
    return facts;
  }

 private:
  PackageLookup& lookup_;
  TextMap<const PackageFacts*> by_file_name_;
  TextMap<std::unique_ptr<PackageFacts>> by_path_;
};

ListProblem MakeProblem(int line, ProblemKind kind, std::string_view package = {},
                        std::string reason = {}) {
  ListProblem problem;
  problem.line = line;
  problem.kind = kind;
  problem.package = package;
  problem.reason = std::move(reason);
  return problem;
}

// The name ServerPackages lists a package by: its file name without the extension.
std::string_view WithoutExtension(std::string_view file_name) {
  const std::size_t dot = file_name.rfind('.');
  return dot == std::string_view::npos || dot == 0 ? file_name : file_name.substr(0, dot);
}

// The checks of a package itself, told once, on the first line that names it.
class PackageChecks {
 public:
  explicit PackageChecks(const ServerChecks& server) : server_(server) {}

  void Check(int line, std::string_view file_name, const PackageFacts* facts,
             std::vector<ListProblem>& problems) {
    const auto problem = [&](ProblemKind kind, std::string_view name, std::string reason = {}) {
      problems.push_back(MakeProblem(line, kind, name, std::move(reason)));
    };
    const std::string spelled(file_name);
    const bool readable = facts != nullptr && !facts->error;
    // Clients have the game's own packages already: never downloaded, so never offered.
    const bool stock = server_.stock != nullptr && server_.stock->Find(file_name).has_value();
    if (readable && !stock && (facts->flags & kPackageAllowDownload) == 0) {
      problem(ProblemKind::kNoDownload, spelled);
    }
    if (readable && (facts->flags & kPackageServerSideOnly) != 0) {
      problem(ProblemKind::kServerSideOnly, spelled);
    }
    if (stock) return;
    if (const ServerPackageList* list = server_.server_packages) {
      const std::string_view name = WithoutExtension(file_name);
      if (!list->Lists(name)) {
        problem(ProblemKind::kNotInServerPackages, name, list->MissingSectionNote());
      }
    }
    if (server_.redirect != nullptr && readable) {
      if (std::optional<std::string> copy = server_.redirect->Find(spelled + ".uz2")) {
        copies_.emplace_back();
        copies_.back().copy_path = std::move(*copy);
        copies_.back().package_path = facts->path;
        copy_lines_.push_back({line, spelled});
      } else {
        problem(ProblemKind::kNoRedirectCopy, spelled);
      }
    }
  }

  // Compares the redirect copies found and adds what is wrong with them.
  void CompareCopies(std::vector<ListProblem>& problems) {
    CompareRedirectCopies(copies_, server_.threads);
    for (std::size_t i = 0; i < copies_.size(); ++i) {
      const auto& [line, spelled] = copy_lines_[i];
      ProblemKind kind = ProblemKind::kStaleRedirectCopy;
      switch (copies_[i].state) {
        case RedirectCopy::State::kSame:
          continue;
        case RedirectCopy::State::kStale:
          break;
        case RedirectCopy::State::kBroken:
          kind = ProblemKind::kBrokenRedirectCopy;
          break;
        case RedirectCopy::State::kPackageUnreadable:
          kind = ProblemKind::kUnreadablePackage;
          break;
      }
      problems.push_back(MakeProblem(line, kind, spelled, copies_[i].reason));
    }
  }

 private:
  const ServerChecks& server_;
  std::vector<RedirectCopy> copies_;
  std::vector<std::pair<int, std::string>> copy_lines_;
};

}  // namespace

bool IsListFiller(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line[first] == ';') return true;
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

std::string_view ProblemKindName(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::kNoPackage:
      return "no-package";
    case ProblemKind::kNoSound:
      return "no-sound";
    case ProblemKind::kUnreadablePackage:
      return "unreadable-package";
    case ProblemKind::kNotAnEntry:
      return "not-an-entry";
    case ProblemKind::kNoDownload:
      return "no-download";
    case ProblemKind::kServerSideOnly:
      return "server-side-only";
    case ProblemKind::kNotInServerPackages:
      return "not-in-server-packages";
    case ProblemKind::kNoRedirectCopy:
      return "no-redirect-copy";
    case ProblemKind::kBrokenRedirectCopy:
      return "broken-redirect-copy";
    case ProblemKind::kStaleRedirectCopy:
      return "stale-redirect-copy";
    case ProblemKind::kTriggerTaken:
      return "trigger-taken";
  }
  return "";
}

std::string ProblemText(const ListProblem& problem) {
  const std::string& f = problem.package;
  std::string text;
  switch (problem.kind) {
    case ProblemKind::kNoPackage:
      text = "no package " + f;
      break;
    case ProblemKind::kNoSound:
      text = "no sound " + problem.sound + " in " + f;
      break;
    case ProblemKind::kUnreadablePackage:
      text = "unreadable package " + f + ": " + problem.reason;
      break;
    case ProblemKind::kNotAnEntry:
      text = "not a trigger entry";
      break;
    case ProblemKind::kNoDownload:
      text = "package " + f + " does not allow download";
      break;
    case ProblemKind::kServerSideOnly:
      text = "package " + f + " is server-side only";
      break;
    case ProblemKind::kNotInServerPackages:
      text = "package " + f + " is not in ServerPackages";
      if (!problem.reason.empty()) text += " (" + problem.reason + ")";
      break;
    case ProblemKind::kNoRedirectCopy:
      text = "no " + f + ".uz2 in the redirect folder";
      break;
    case ProblemKind::kBrokenRedirectCopy:
      text = f + ".uz2 in the redirect folder is broken: " + problem.reason;
      break;
    case ProblemKind::kStaleRedirectCopy:
      text = f + ".uz2 in the redirect folder is not the server's " + f;
      break;
    case ProblemKind::kTriggerTaken:
      text = "trigger " + problem.trigger + " is already on line " +
             std::to_string(problem.first_line);
      break;
  }
  // The list's bytes reach a terminal or a window: control bytes are shown, not obeyed.
  return ControlBytesEscaped(text);
}

namespace {

// The check over lines held as strings (a list read by the command line) or as views (the
// window's editor).
template <typename Line>
ListCheck CheckLines(std::span<const Line> lines, PackageLookup& lookup,
                     const ServerChecks& server) {
  ListCheck check;
  std::vector<ListProblem>& problems = check.problems;
  PackageCache packages(lookup);
  PackageChecks package_checks(server);
  TextSet named_packages;  // upper-cased
  TextMap<int> trigger_lines;
  bool in_duplicates = false;
  std::string upper;
  const auto line_text = [&lines](std::size_t i) {
    std::string_view text = lines[i];
    // Editors on Windows may start a UTF-8 file with a byte order mark; it is no part of line 1.
    if (i == 0 && text.starts_with(kUtf8ByteOrderMark)) {
      text.remove_prefix(kUtf8ByteOrderMark.size());
    }
    return text;
  };
  // The packages first, all at once; then the lines in order.
  std::unordered_set<std::string_view> seen;
  std::vector<std::string_view> file_names;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::optional<TriggerEntry> entry = ParseTriggerEntry(line_text(i));
    if (entry && seen.insert(entry->file_name).second) file_names.push_back(entry->file_name);
  }
  packages.ReadAll(file_names, server.threads);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    const std::string_view text = line_text(i);
    const std::optional<TriggerEntry> entry = ParseTriggerEntry(text);
    if (!entry) {
      if (!IsListFiller(text)) {
        problems.push_back(MakeProblem(line, ProblemKind::kNotAnEntry));
      } else if (text.starts_with('[')) {
        // The repeats the duplicate check moved here are marked already.
        in_duplicates = EqualIgnoringAsciiCase(text, kDuplicatesHeader);
      }
      continue;
    }
    ++check.entries;
    const std::string_view file_name = entry->file_name;
    const PackageFacts* facts = packages.Find(file_name);
    if (facts == nullptr) {
      problems.push_back(MakeProblem(line, ProblemKind::kNoPackage, file_name));
    } else if (facts->error) {
      problems.push_back(
          MakeProblem(line, ProblemKind::kUnreadablePackage, file_name, *facts->error));
    } else {
      AssignAsciiUpper(upper, entry->sound_name);
      if (!facts->upper_names.contains(upper)) {
        problems.push_back(MakeProblem(line, ProblemKind::kNoSound, file_name));
        problems.back().sound = entry->sound_name;
      }
    }
    AssignAsciiUpper(upper, file_name);
    if (!named_packages.contains(upper)) {
      named_packages.insert(upper);
      package_checks.Check(line, file_name, facts, problems);
    }
    if (!in_duplicates && !entry->trigger_name.empty()) {
      AssignAsciiUpper(upper, entry->trigger_name);
      const auto [first, fresh] = trigger_lines.try_emplace(upper, line);
      if (!fresh) {
        problems.push_back(MakeProblem(line, ProblemKind::kTriggerTaken));
        problems.back().trigger = entry->trigger_name;
        problems.back().first_line = first->second;
      }
    }
  }
  package_checks.CompareCopies(problems);
  std::stable_sort(problems.begin(), problems.end(),
                   [](const ListProblem& a, const ListProblem& b) {
                     return a.line != b.line ? a.line < b.line : a.kind < b.kind;
                   });
  return check;
}

}  // namespace

ListCheck CheckTriggerList(std::span<const std::string> lines, PackageLookup& lookup,
                           const ServerChecks& server) {
  return CheckLines(lines, lookup, server);
}

ListCheck CheckTriggerList(std::span<const std::string_view> lines, PackageLookup& lookup,
                           const ServerChecks& server) {
  return CheckLines(lines, lookup, server);
}

}  // namespace quarrix
