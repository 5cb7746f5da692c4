#pragma once
// The faces the layout was made for ("Segoe UI" in the graph, "Tahoma" in the windows), mapped
// to the installed faces closest to them in width, so texts take the room they were given.

namespace plotwell {

// Where "Tahoma" is missing, registers Wine's Tahoma (same widths) from its Debian folder; where
// "Segoe UI" is missing, makes Open Sans its substitute. A face that is absent leaves the
// toolkit's fallback as it was. Does its work once per process, and only once a
// QGuiApplication exists; call it before the first text is laid out. The window, the batch
// tool and every Canvas go through it, so all of them draw the same pixels.
void UseStandInFaces();

} // namespace plotwell
