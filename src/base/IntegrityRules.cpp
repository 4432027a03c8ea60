#include "base/IntegrityRules.h"

bool AboveTheShell(unsigned long ours, unsigned long theShells, bool elevated) {
    if (ours != 0 && theShells != 0) return ours > theShells;
    return elevated || ours > kMediumIntegrity;
}
