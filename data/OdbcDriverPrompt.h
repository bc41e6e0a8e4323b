#pragma once
// The driver prompt: unixODBC cannot show a driver's own dialog, so the GUI registers one here
// and BuildOdbcConnectionString (OdbcConnectionBuilder.h) asks it for the driver's attributes. Core code
// only sees this interface.
#include <memory>
#include <optional>
#include <string>

class OdbcDriverPrompt {
 public:
  virtual ~OdbcDriverPrompt() = default;
  // Asks the person for the attributes of the driver `driverName` (its description as
  // ListOdbcDrivers gives it) and returns the connection string ("DRIVER={name};..."), or
  // nothing when the person cancels. `ownerWindow` is the opaque window handle the caller gave.
  virtual std::optional<std::string> Prompt(void* ownerWindow, const std::string& driverName) = 0;
};

// Registers the prompt (an empty pointer removes it); without one BuildOdbcConnectionString
// returns empty text.
void SetOdbcDriverPrompt(std::shared_ptr<OdbcDriverPrompt> prompt);
std::shared_ptr<OdbcDriverPrompt> GetOdbcDriverPrompt();
