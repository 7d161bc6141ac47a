#include "helpdocument.h"

// The user guide as Qt's rich-text editor saves it: every paragraph flush left with no
// margins, its text in one span carrying the size and, for the title and the headings,
// weight and underline. An empty paragraph keeps its font size on the paragraph itself
// so that the blank line has the height of the text around it.
#define PARAGRAPH_MARGINS                                                                          \
    "margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; "                       \
    "-qt-block-indent:0; text-indent:0px;"
#define PARAGRAPH(spanStyle, text)                                                                 \
    "\n<p style=\" " PARAGRAPH_MARGINS "\"><span style=\"" spanStyle "\">" text "</span></p>"
#define TITLE_PARAGRAPH(text)                                                                      \
    PARAGRAPH(" font-size:18pt; font-weight:600; text-decoration: underline;", text)
#define HEADING_PARAGRAPH(text) PARAGRAPH(" font-size:12pt; text-decoration: underline;", text)
#define TEXT_PARAGRAPH(text) PARAGRAPH(" font-size:12pt;", text)
#define EMPTY_PARAGRAPH(points)                                                                    \
    "\n<p style=\"-qt-paragraph-type:empty; " PARAGRAPH_MARGINS " font-size:" points               \
    "pt;\"><br /></p>"

namespace {

// One text: it is also the translation key in the "howToUse" context. The texts keep
// their double spaces, trailing spaces and spellings exactly as the guide was written.
// clang-format off
const char document[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" "
    "\"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
    "<html><head><meta name=\"qrichtext\" content=\"1\" /><style type=\"text/css\">\n"
    "p, li { white-space: pre-wrap; }\n"
    "</style></head><body style=\" font-family:'MS Shell Dlg 2'; font-size:8.25pt; "
    "font-weight:400; font-style:normal;\">"
    TITLE_PARAGRAPH("How To Use the Tarrow Boot Screen Editor")
    EMPTY_PARAGRAPH("8")
    HEADING_PARAGRAPH("Steps to Loading Custom Boot Screen onto Tarrow Marker:")
    TEXT_PARAGRAPH("1) Draw your boot screen image")
    TEXT_PARAGRAPH("2) Export Tarrow Boot Screen File (File-&gt;Export Boot Screen File)")
    TEXT_PARAGRAPH("3) Use Tarrow USB Tool to load boot screen onto marker")
    EMPTY_PARAGRAPH("12")
    TEXT_PARAGRAPH("------------------------------------------------------------------------")
    TEXT_PARAGRAPH("SUMMARY - The Tarrow Boot Screen Editor allows you to make your own custom "
                   "graphics that can be loaded onto you Tarrow Paintball marker using the "
                   "Tarrow USB Tool.  These graphics can be displayed when you turn the Tarrow "
                   "to make your Tarrow unique to you.")
    TEXT_PARAGRAPH("The Tarrow Screen is 128 pixels high by 32 pixels wide.  The Boot screen "
                   "editor gives you access to each individual pixel.  A white pixel signals "
                   "the pixel will be illuminated.  A black pixel signals the pixel will not be "
                   "illuminated.  ")
    EMPTY_PARAGRAPH("12")
    TEXT_PARAGRAPH("------------------------------------------------------------------------")
    HEADING_PARAGRAPH("HOW TO TURN PIXELS ON or OFF")
    TEXT_PARAGRAPH("Clicking on a pixel will set the pixel on or off depending on current pen.  "
                   "On the menu bar Select Options-&gt;Toggle Pen to set the pen to turn pixels "
                   "either on or off.  When Toggle Pen is checked the pixel will be turned "
                   "off.  When Toggle Pen is not checked the pixel will be turned on.")
    EMPTY_PARAGRAPH("12")
    TEXT_PARAGRAPH("------------------------------------------------------------------------")
    HEADING_PARAGRAPH("TURN ALL PIXELS ON or OFF")
    TEXT_PARAGRAPH("You can quickly turn all pixels on (white) by going to the menu bar and "
                   "selecting Options-&gt;All Pixels On, or turn them all off (black) by "
                   "selectiong Options-&gt; All Pixels Off.")
    EMPTY_PARAGRAPH("12")
    TEXT_PARAGRAPH("------------------------------------------------------------------------")
    HEADING_PARAGRAPH("INVERTING ALL PIXELS")
    TEXT_PARAGRAPH("Inverting the pixels will turn the pixels that are on to off and the pixels "
                   "that are off to on.  You can do this by going to the menu bar and selecting "
                   "Options-&gt;Invert All Pixels")
    EMPTY_PARAGRAPH("12")
    TEXT_PARAGRAPH("------------------------------------------------------------------------")
    HEADING_PARAGRAPH("ZOOM IN and OUT")
    TEXT_PARAGRAPH("You can zoom into the screen by going to the menu bar and selecting "
                   "Options-&gt;Zoom X 3.  This will enlarge the screen to 3 times the normal "
                   "size.  To go back to normal size in the same menu select Normal Size")
    EMPTY_PARAGRAPH("12")
    TEXT_PARAGRAPH("-------------------------------------------------------------------------")
    HEADING_PARAGRAPH("SAVING/LOADING THE IMAGE as .BMP")
    TEXT_PARAGRAPH("The image you have drawn can be saved in .bmp format which can be viewed in "
                   "any program able that supports .bmp format file.  You may also oepn the "
                   ".bmp you saved into the Tarrow Boot Screen Editor. Warning - opening a .bmp "
                   "file that was not created by the Tarrow Boot Screen Editor may cause "
                   "undesired results and may not render correctly in the editor.")
    EMPTY_PARAGRAPH("12")
    TEXT_PARAGRAPH("--------------------------------------------------------------------------")
    HEADING_PARAGRAPH("EXPORTING TARROW BOOT SCREEN FILE")
    TEXT_PARAGRAPH("When you are done with your boot screen image you must export the Tarrow "
                   "Boot Screen File by going to the menu bar and selecting File-&gt;Export "
                   "Boot Screen File.  The file will be in .tbs format.  This file can then be "
                   "loaded onto your Tarrow marker.")
    EMPTY_PARAGRAPH("12")
    TEXT_PARAGRAPH("---------------------------------------------------------------------------")
    HEADING_PARAGRAPH("IMPORT TARROW BOOT SCREEN FILE")
    TEXT_PARAGRAPH("You can import .tbs files into the Tarrow Boot Screen Editor by going to "
                   "the menu bar and selecting File-&gt;Import Boot Screen File.")
    "</body></html>";
// clang-format on

} // namespace

#undef EMPTY_PARAGRAPH
#undef TEXT_PARAGRAPH
#undef HEADING_PARAGRAPH
#undef TITLE_PARAGRAPH
#undef PARAGRAPH
#undef PARAGRAPH_MARGINS

const char *helpDocumentHtml()
{
    return document;
}
