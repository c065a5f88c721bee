#pragma once
// Included by the headers of the windows' side that name no widget of
// their own: code that links Qt Core alone (the rules, the models) cannot
// include them, so a window's service below the windows is a build error.

#ifndef QT_WIDGETS_LIB
#error "a header of the windows' side, included by code that links no widget"
#endif
