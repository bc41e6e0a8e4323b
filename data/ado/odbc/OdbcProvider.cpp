#include "data/ado/odbc/OdbcProvider.h"

#include "data/ado/ComError.h"

namespace ado {

std::unique_ptr<ProviderSession> OpenOdbcSession(const ConnectionString&, const std::string&, const std::string&) {
  throw ComError(adErrProviderNotFound, "The ODBC provider is not available in this build.", "Qelvo ADO");
}

}  // namespace ado
