#pragma once
// The options panel along the right edge of the graph control: graph type, grid lines, marked
// points, filled area, line width, the four action buttons and the Display Series boxes,
// each at its place, with its caption, hint, object name and accessible name. It only builds
// the widgets; the control wires and fills them.

#include "graph/data/graph_types.h"

#include <array>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace plotwell {

struct OptionsPanel
{
    // Builds the panel on `control`, laid out for its current width, every child anchored to
    // its top and right edges.
    explicit OptionsPanel(QWidget* control);

    QGroupBox* graphTypeGroupBox;
    QRadioButton* linerb;
    QRadioButton* curverb;
    QSpinBox* smoothingSpinEdit;
    QRadioButton* barrb;
    QRadioButton* stackedbarrb;
    QRadioButton* pierb;
    QGroupBox* gridlinesGroupBox;
    QCheckBox* horzGridlinesCheckbox;
    QCheckBox* vertGridlinesCheckbox;
    QCheckBox* pointsCheckbox;
    QCheckBox* drawAreaCheckbox;
    QLabel* lineWidthLabel;
    QSpinBox* lineWidthSpinEdit;
    QPushButton* openBtn;
    QPushButton* labelsBtn;
    QPushButton* copyBtn;
    QPushButton* printBtn;
    QLabel* displayserieslabel;
    std::array<QCheckBox*, maxseries> displayseriesboxes; // series 1..8 at index 0..7
    std::array<QRadioButton*, kGraphTypes.size()> graphTypeButtons; // in the order of kGraphTypes

    QRadioButton* GraphTypeButton(GraphKind type) const { return graphTypeButtons[GraphTypeIndex(type)]; }
    // The type whose button is checked (none while the buttons are being switched).
    std::optional<GraphKind> CheckedGraphType() const;

    // Places the line width label and spin edit after the Mark points box has moved.
    void PlaceLineWidth();
    // Sizes the labels and the captioned check boxes to their text again, after the control's
    // font changed.
    void FitToFont();
};

// Width of a Display Series box; the boxes stand 13 pixels apart.
int DisplaySeriesBoxSide(const QWidget* control);

} // namespace plotwell
