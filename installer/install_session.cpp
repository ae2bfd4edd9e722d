#include "installer/install_session.h"

namespace corvalis {

InstallSession& Session() {
  // Never destroyed: main ends the process without returning, and the destructors of all
  // its fields would only add to the size of a program every user downloads.
  static InstallSession* session = new InstallSession();
  return *session;
}

}  // namespace corvalis
