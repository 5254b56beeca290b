#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text a browser would show for a piece of HTML, as one line: tags removed (scripts and
// style sheets with their contents), character references decoded, runs of white space
// (no-break spaces included) made one space, and every line break (<br>, the ends of
// <div>, <p>, <li>, <tr> and of headings) turned into `lineSeparator`, never two in a row
// and never at either end. Broken markup is kept as text rather than lost: a "<" that
// opens no tag stays.
std::string htmlToText(std::string_view html, std::string_view lineSeparator = " / ");

// Well-formed UTF-8 HTML for a plain text: & < > " escaped, line breaks written as <br>.
std::string textToHtml(std::string_view text);

// How many pictures, sounds and videos the HTML refers to (<img>, <audio>, <video> and
// Anki's [sound:...] references).
std::size_t countMediaReferences(std::string_view html);
