#pragma once

#include <string>
#include <string_view>

// The text a browser would show for a piece of HTML, on one line: tags are removed (the
// contents of <script> and <style> with them, and comments), the named entities of HTML 4's
// Latin-1 set and a few common others and every numeric entity are decoded (&nbsp; as a
// blank), runs of white space become one blank, and where the browser would start a new
// line (<br>, the start and end of <p>, <div>, <li>, <tr> and headings) `lineBreak` stands,
// once for any number of them and never at either end. An unknown entity or a "<" that
// starts no tag stays as written.
std::string htmlToText(std::string_view html, std::string_view lineBreak);
