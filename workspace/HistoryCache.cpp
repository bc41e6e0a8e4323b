#include "workspace/HistoryCache.h"

#include <algorithm>
#include <cstdio>

#include "data/ConnectionSecrets.h"
#include "workspace/ProfileStore.h"
#include "workspace/SettingsStore.h"

namespace {
// Five-digit names end at 99999; a larger "Count" can only come from a damaged file, and reading
// it whole would stall the start for nothing.
constexpr int kMostStoredEntries = 100000;
}  // namespace

std::string WithLfLineEnds(std::string text) {
  std::size_t out = 0;
  for (std::size_t in = 0; in < text.size(); ++in)
    if (!(text[in] == '\r' && in + 1 < text.size() && text[in + 1] == '\n')) text[out++] = text[in];
  text.resize(out);
  return text;
}

std::string HistoryValueName(int index) {
  char name[16];
  std::snprintf(name, sizeof name, "%05d", index);
  return name;
}

HistoryCache::HistoryCache(std::string name, ProfileStore& profile, const SettingsStore& settings)
    : name_(std::move(name)), profile_(profile), settings_(settings) {}

int HistoryCache::Limit() const {
  int size = settings_.GetInt("History", "CacheSize");
  return size > 0 ? size : 1;
}

bool HistoryCache::CanStepForward() const {
  return !entries_.empty() && position_ >= 0 && static_cast<size_t>(position_) < entries_.size() - 1;
}

std::optional<std::string> HistoryCache::Load() {
  entries_.clear();
  int count = std::min(profile_.ReadInt(name_, "Count").value_or(0), kMostStoredEntries);
  for (int i = 0; i < count; ++i) {
    if (std::optional<std::string> entry = profile_.ReadBinary(name_, HistoryValueName(i))) {
      std::string text = WithLfLineEnds(std::move(*entry));
      // Lists written before line ends were made one may hold the same text twice.
      std::erase(entries_, text);
      entries_.push_back(std::move(text));
    }
  }
  position_ = static_cast<int>(entries_.size()) - 1;
  if (HoldsConnections()) PutStoredPasswordsAway(count);
  if (entries_.empty()) return std::nullopt;
  return entries_.back();
}

bool HistoryCache::HoldsConnections() const {
  return name_ == ConnectionHistoryName;
}

void HistoryCache::PutStoredPasswordsAway(int count) {
  // A list written by an earlier version keeps passwords in clear; they move to the secret store
  // and the list is written again without them. Values beyond "Count", left by a longer list,
  // are rewritten too, since they are still in the file.
  if (std::any_of(entries_.begin(), entries_.end(), [](const std::string& e) { return HasClearPassword(e); })) {
    // The same connection may already be there with its placeholder: the newer one stays.
    std::vector<std::string> kept;
    for (const std::string& entry : entries_) {
      std::string text = PutPasswordsAway(entry);
      std::erase(kept, text);
      kept.push_back(std::move(text));
    }
    entries_ = std::move(kept);
    position_ = static_cast<int>(entries_.size()) - 1;
    Save();
  }
  bool staleChanged = false;
  for (int i = static_cast<int>(entries_.size()); i < kMostStoredEntries; ++i) {
    std::optional<std::string> stale = profile_.ReadBinary(name_, HistoryValueName(i));
    if (!stale) {
      if (i >= count) break;  // a gap inside the list itself is skipped
      continue;
    }
    if (!HasClearPassword(*stale)) continue;
    profile_.WriteBinary(name_, HistoryValueName(i), PutPasswordsAway(*stale));
    staleChanged = true;
  }
  if (staleChanged) profile_.Flush();
}

void HistoryCache::Save() {
  if (HoldsConnections())
    for (std::string& entry : entries_) entry = PutPasswordsAway(entry);
  profile_.WriteInt(name_, "Count", static_cast<std::int32_t>(entries_.size()));
  for (size_t i = 0; i < entries_.size(); ++i)
    profile_.WriteBinary(name_, HistoryValueName(static_cast<int>(i)), entries_[i]);
  profile_.Flush();
}

void HistoryCache::Remember(const std::string& given) {
  const std::string text = HoldsConnections() ? PutPasswordsAway(WithLfLineEnds(given)) : WithLfLineEnds(given);
  std::erase(entries_, text);
  size_t limit = static_cast<size_t>(Limit());
  std::vector<std::string> dropped;
  if (entries_.size() >= limit) {
    dropped.assign(entries_.begin(), entries_.end() - (limit - 1));
    entries_.erase(entries_.begin(), entries_.end() - (limit - 1));
  }
  entries_.push_back(text);
  // A secret whose last entry fell off the list would stay in the store for nothing.
  if (HoldsConnections()) {
    std::vector<std::string> inUse;
    for (const std::string& entry : entries_)
      for (std::string& name : SecretNamesIn(entry)) inUse.push_back(std::move(name));
    for (const std::string& entry : dropped)
      for (const std::string& name : SecretNamesIn(entry))
        if (std::find(inUse.begin(), inUse.end(), name) == inUse.end()) ForgetSecret(name);
  }
  position_ = static_cast<int>(entries_.size()) - 1;
  Save();
}

std::optional<std::string> HistoryCache::StepBack() {
  if (position_ <= 0) return std::nullopt;
  --position_;
  if (static_cast<size_t>(position_) >= entries_.size()) return std::nullopt;
  return entries_[position_];
}

std::optional<std::string> HistoryCache::StepForward() {
  if (!CanStepForward()) return std::nullopt;
  ++position_;
  return entries_[position_];
}

void HistoryCache::Clear() {
  // The secrets belong to the list: clearing it deletes them from the store as well.
  if (HoldsConnections())
    for (const std::string& entry : entries_)
      for (const std::string& name : SecretNamesIn(entry)) ForgetSecret(name);
  entries_.clear();
  position_ = -1;
  Save();
}

std::string WithModifiedMarker(const std::string& label, bool on) {
  bool marked = label.size() > 2 && label.ends_with(" *");
  if (on) return marked ? label : label + " *";
  return marked ? label.substr(0, label.size() - 2) : label;
}

HistoryButtonStates ComputeHistoryButtons(const std::string& queryText, const HistoryCache& connections,
                                          const HistoryCache& queries) {
  HistoryButtonStates states;
  states.execute = !queryText.empty();
  states.connectionBack = connections.CanStepBack();
  states.connectionForward = connections.CanStepForward();
  states.queryBack = queries.CanStepBack();
  states.queryForward = queries.CanStepForward();
  return states;
}
