#include "common/operations_settings.h"

namespace corvalis {
namespace {

OperationsSettings settings;

}  // namespace

const OperationsSettings& Operations() { return settings; }

void SetOperations(const OperationsSettings& next) { settings = next; }

}  // namespace corvalis
