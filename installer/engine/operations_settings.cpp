#include "installer/engine/system_operations.h"

namespace corvalis {
namespace {

int osVersionCode = 100;

}  // namespace

void SetOperationsOsVersionCode(int code) { osVersionCode = code; }

int OperationsOsVersionCode() { return osVersionCode; }

}  // namespace corvalis
