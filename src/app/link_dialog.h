// Display > Live link…: opens the program's live link for the running train,
// or shows where it is and who is connected.
#pragma once

class QWidget;

namespace ts {

class TForm1;

void showLinkDialog(TForm1* form);

}  // namespace ts
