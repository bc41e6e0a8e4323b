#pragma once
// The texts the two workspace editors held when the window closed, executed or not, so that a
// half-written query or connection string is there again at the next start.
//
// Profile layout: section "Drafts", values "Connection" and "Query" as raw bytes.
#include <optional>
#include <string>

class ProfileStore;

inline constexpr const char* DraftsSection = "Drafts";

struct EditorDrafts {
  std::string connection;
  std::string query;
};

// Writes both texts and flushes them; the connection's passwords go to the secret store, the
// profile gets placeholders (data/ConnectionSecrets.h).
void SaveEditorDrafts(ProfileStore& profile, const EditorDrafts& drafts);
// The texts last saved; nothing when none were (a first start, or a profile from before drafts).
std::optional<EditorDrafts> LoadEditorDrafts(const ProfileStore& profile);
// Drafts written by an earlier version keep the connection's password in clear: moves it to the
// secret store and rewrites the draft.
void PutDraftPasswordsAway(ProfileStore& profile);
