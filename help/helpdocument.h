#pragma once

// The user guide shown in the help window, as rich text (HTML). It is the source text
// for translation in the "howToUse" context.
const char *helpDocumentHtml();
