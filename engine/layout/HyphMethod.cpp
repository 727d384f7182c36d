#include "engine/layout/HyphMethod.h"

#include "engine/layout/NoHyph.h"

HyphMethod& CurrentHyphMethod() {
    // Stateless, so one instance serves the whole process for its whole life.
    static NoHyph noHyph;
    return noHyph;
}
