#pragma once
// A history of distinct texts (connection strings or queries), oldest first, kept in a profile
// section of its own and walked with a current position. The view binds it to an editor and a
// label: it puts the texts this class hands back into the editor, and asks the functions at the
// end of this file for the label's marker and the buttons' states.
//
// Texts are compared and stored with LF line ends: the editors give back LF whatever they were
// given, so a text remembered with CR LF would otherwise come back as a second entry.
//
// The connection history never writes a password: each is put away in the secret store and the
// entry keeps a placeholder (data/ConnectionSecrets.h); a list from an earlier version is
// rewritten without them when it is loaded, and an entry that leaves the list (Clear, the size
// limit) deletes its secrets.
//
// Profile layout of a section: "Count" (integer), then "00000", "00001", … the entries as raw
// bytes, oldest first.
#include <optional>
#include <string>
#include <vector>

class ProfileStore;
class SettingsStore;

inline constexpr const char* ConnectionHistoryName = "CacheConnection";
inline constexpr const char* QueryHistoryName = "CacheQuery2";

class HistoryCache {
 public:
  // The profile and settings are read at each use (History/CacheSize is the size limit); both must
  // outlive the cache.
  HistoryCache(std::string name, ProfileStore& profile, const SettingsStore& settings);

  const std::string& Name() const { return name_; }
  const std::vector<std::string>& Entries() const { return entries_; }
  // The entry last shown or added; -1 when the list is empty.
  int Position() const { return position_; }

  // Reads the list (missing entries skipped; CR LF read as LF, and an entry equal to a newer one
  // dropped) and returns the newest entry to show, if any.
  std::optional<std::string> Load();
  // Writes "Count" and every entry; entries left by an earlier, longer list stay and are ignored.
  void Save();
  // Adds a text as the newest entry: equal entries removed, the oldest dropped down to the size
  // limit (History/CacheSize, at least 1), then saved at once. The view then clears its marker.
  void Remember(const std::string& text);
  // One step to an older / newer entry: the entry to show, or nothing when there is no step.
  std::optional<std::string> StepBack();
  std::optional<std::string> StepForward();
  // Empties the list and saves it ("Count" 0); the editor keeps its text.
  void Clear();

  bool CanStepBack() const { return position_ > 0; }
  bool CanStepForward() const;

  // The size limit now in force.
  int Limit() const;

 private:
  bool HoldsConnections() const;
  // Moves passwords found in clear in the loaded list (and in values beyond "Count") to the secret
  // store and rewrites them.
  void PutStoredPasswordsAway(int count);

  std::string name_;
  ProfileStore& profile_;
  const SettingsStore& settings_;
  std::vector<std::string> entries_;
  int position_ = -1;
};

// The text with every CR LF turned into LF.
std::string WithLfLineEnds(std::string text);

// The profile value name of an entry: the index in five digits ("00007").
std::string HistoryValueName(int index);

// A label with the modified marker " *" put on or taken off; it is never doubled.
std::string WithModifiedMarker(const std::string& label, bool on);

// Which of the workspace's history-bound buttons are enabled.
struct HistoryButtonStates {
  bool execute = false;            // "!" : the query editor holds text
  bool connectionBack = false;     // "<<" of the connection list
  bool connectionForward = false;  // ">>" of the connection list
  bool queryBack = false;
  bool queryForward = false;
};
HistoryButtonStates ComputeHistoryButtons(const std::string& queryText, const HistoryCache& connections,
                                          const HistoryCache& queries);
