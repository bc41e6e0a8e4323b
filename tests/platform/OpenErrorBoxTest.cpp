// The connection holder's open-error box reaches the person through the prompt seam.
#include <gtest/gtest.h>

#include <memory>

#include "data/DbConnection.h"
#include "data/DbConnectionHolder.h"
#include "data/ado/ComError.h"
#include "platform/OpenErrorBox.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/ScriptedPrompts.h"
#include "tests/ComErrorOf.h"

namespace {

TEST(OpenErrorBox, AFailedOpenShowsTheHoldersWarning) {
  auto prompts = std::make_shared<ScriptedPrompts>();
  SetPromptSeam(prompts);
  RouteOpenErrorBoxToPrompts();
  PrivateConnections = true;
  CurrentConnectionString = "Provider=SQLite;Data Source=/nonexistent/folder/shop.db";
  {
    DbConnectionHolder holder;
    EXPECT_COM_ERROR(holder.GetConnection(), ado::E_FAIL);
  }
  ASSERT_EQ(prompts->Messages().size(), 1u);
  EXPECT_EQ(prompts->Messages()[0].text, "Errore nell'apertura del database");
  EXPECT_EQ(prompts->Messages()[0].caption, "DbConnection");
  EXPECT_EQ(prompts->Messages()[0].type & MB_ICONMASK, MB_ICONWARNING);
  EXPECT_TRUE(prompts->Messages()[0].type & MB_SYSTEMMODAL);
  SetOpenErrorBox(nullptr);
  SetPromptSeam(nullptr);
  CurrentConnectionString.clear();
}

}  // namespace
