// What screen readers learn about the help window beyond Qt's defaults. The section titles are
// labels that act like buttons: they are offered as buttons (named by their title, checked
// while their section is shown) whose press action shows the section. The text box is offered
// as a read-only document with its text, selection and character positions, rather than as an
// edit field. Installed once, before the first window is asked for its accessible interface.
#pragma once

namespace Barrierefreiheit {

void einrichten();

} // namespace Barrierefreiheit
