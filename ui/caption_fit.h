// Captions that fit their controls in the fonts and at the display scale the program meets.
#pragma once

class QWidget;

namespace ui {

// Makes a label's or button's caption fit the room its control gives it, keeping the control where the form
// put it: where the caption does not fit in the control's font (a Japanese font with a taller line than the
// one the form was laid out for, a display scale that rounds it up), the font is made smaller a quarter point
// at a time, down to three quarters of its size. A caption that fits keeps its font. Returns whether it fits.
bool fitCaption(QWidget& control);

// fitCaption for every label and button of a form whose controls stand where they belong.
void fitCaptions(QWidget& form);

}  // namespace ui
