#pragma once
// The diagram's private messages. To the main frame, which keeps its tool
// bar on the active diagram: the axis lists and the two toggle buttons, and
// learns when a diagram window goes. From
// the chart to its diagram window: its place has to change. The frame and
// the diagram both include this header.
#include <windows.h>

constexpr UINT kFrameAxisLists = WM_USER + 1;       // lParam: X list index in the low, Y in the high word
constexpr UINT kFramePageViewButton = WM_USER + 2;  // wParam 0/1: tool-bar button ID_VIEW_PAGE
constexpr UINT kFrameLambdaButton = WM_USER + 3;    // wParam 0/1: tool-bar button ID_LAMBDA_CURVE
constexpr UINT kFrameDiagramClosed = WM_USER + 4;   // wParam: the diagram window being destroyed

// Sent by the chart to its parent window when the chart's place in it has to
// change (page view switched, page zoomed, lambda panel toggled).
constexpr UINT kChartLayoutChanged = WM_USER + 100;
