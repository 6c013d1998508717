#pragma once

class QWidget;

// A screen reader says a control's accessible name as the cursor enters it.
// Buttons have theirs from their captions; an entry field has only what its
// label says on the screen. So every entry field and text box of `screen`
// without a name of its own is named by its label: the label it is the buddy
// of, else the nearest label on its left on the same row with no other field
// between them (a label and its field share a parent). A field that stands
// under a label, or that shares its row's label with others, says what it is
// where the screen builds it: a guess there would name it wrongly.
void NameFieldsByTheirLabels(QWidget* screen);
