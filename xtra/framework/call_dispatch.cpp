#include "xtra/framework/xtra_framework.h"

XtraCode DispatchCall(const XtraMethodTable& table, IMoaMmXScript* script, XtraCallRecord* call) {
  const int64_t index = static_cast<int64_t>(call->selector) - table.firstSelector;
  if (index >= 0 && index < table.count && table.handlers[index]) table.handlers[index](script, call);
  return kXtraOk;
}
