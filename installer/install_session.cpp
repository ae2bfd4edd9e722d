#include "installer/install_session.h"

namespace corvalis {

InstallSession& Session() {
  static InstallSession session;
  return session;
}

}  // namespace corvalis
