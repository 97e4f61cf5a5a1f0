#include "run.h"

namespace ts {

void visitRunFields(const Run& r, RunFieldVisitor& v) {
    v.text("trainCode", r.trainCode);
    v.integer("inputLocked", r.inputLocked);
    v.integer("viewJumpPending", r.viewJumpPending);
    v.real("stopDistance", r.stopDistance);
}

}  // namespace ts
