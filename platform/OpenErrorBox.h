#pragma once
// Routes the connection holder's open-error box (data/DbConnectionHolder.h, SetOpenErrorBox) to the
// prompt seam: a system-modal warning box with the holder's own text and caption.
void RouteOpenErrorBoxToPrompts();
