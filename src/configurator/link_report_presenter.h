#pragma once
// The one place where what the link reports becomes a modal box, with the report's exact text. The
// box opens while the exchange that failed waits, as the user expects of a failed command.

class TRXTX;

void PresentLinkReports(TRXTX& link);
