# Turns one Markdown file into a standalone HTML page that a browser opens from disk.
#   cmake -DCMARK=... -DINPUT=guide.md -DOUTPUT=guide.html [-DLANGUAGE=de] -P markdown_page.cmake
# The page's title is the file's first heading.
execute_process(COMMAND "${CMARK}" --to html "${INPUT}"
                OUTPUT_VARIABLE body RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmark could not convert ${INPUT}")
endif()
if(NOT LANGUAGE)
    set(LANGUAGE en)
endif()
file(STRINGS "${INPUT}" headings REGEX "^# " LIMIT_COUNT 1 ENCODING UTF-8)
string(REGEX REPLACE "^# +" "" TITLE "${headings}")
file(WRITE "${OUTPUT}" "<!DOCTYPE html>
<html lang=\"${LANGUAGE}\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>${TITLE}</title>
<style>
:root { color-scheme: light dark; }
body { max-width: 46em; margin: 2em auto; padding: 0 1em; font-family: sans-serif; line-height: 1.5; }
</style>
</head>
<body>
${body}</body>
</html>
")
