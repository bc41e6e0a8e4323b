#include "workspace/EditorDrafts.h"

#include "data/ConnectionSecrets.h"
#include "workspace/ProfileStore.h"

void SaveEditorDrafts(ProfileStore& profile, const EditorDrafts& drafts) {
  profile.WriteBinary(DraftsSection, "Connection", PutPasswordsAway(drafts.connection));
  profile.WriteBinary(DraftsSection, "Query", drafts.query);
  profile.Flush();
}

std::optional<EditorDrafts> LoadEditorDrafts(const ProfileStore& profile) {
  std::optional<std::string> connection = profile.ReadBinary(DraftsSection, "Connection");
  std::optional<std::string> query = profile.ReadBinary(DraftsSection, "Query");
  // Both are written together; one alone is a damaged profile and is not trusted.
  if (!connection || !query) return std::nullopt;
  return EditorDrafts{std::move(*connection), std::move(*query)};
}

void PutDraftPasswordsAway(ProfileStore& profile) {
  std::optional<std::string> connection = profile.ReadBinary(DraftsSection, "Connection");
  if (!connection || !HasClearPassword(*connection)) return;
  profile.WriteBinary(DraftsSection, "Connection", PutPasswordsAway(*connection));
  profile.Flush();
}
