#include "title_animation.h"

namespace ts {

bool TitleButtons::tick() {
    if (train1Left > 330) train1Left -= 31;
    if (train2Left > 330) train2Left -= 31;
    if (quitTop > 448) quitTop -= 10;
    if (helpTop > 448) helpTop -= 10;
    return quitTop != 448;
}

void TitleButtons::finish() {
    train1Left = train2Left = 330;
    quitTop = helpTop = 448;
}

}  // namespace ts
