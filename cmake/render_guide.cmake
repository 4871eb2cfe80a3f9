# cmake -DCMARK_GFM=... -DINPUT=guide.md -DOUTPUT=guide.html -DHOMEPAGE=url -P render_guide.cmake
# Renders a Markdown guide into a whole UTF-8 web page. Links to files of the
# repository are pointed at the homepage, where they still lead from an
# installed copy.
file(READ ${INPUT} markdown)
string(REGEX REPLACE "\\]\\(([^):#]+)\\)" "](${HOMEPAGE}/blob/main/\\1)" markdown "${markdown}")
string(REGEX MATCH "^# ([^\n]*)" heading "${markdown}")
set(title "${CMAKE_MATCH_1}")
set(linked ${OUTPUT}.md)
file(WRITE ${linked} "${markdown}")
execute_process(COMMAND ${CMARK_GFM} --to html --extension table ${linked}
    OUTPUT_VARIABLE body
    COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${linked})
file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html lang=\"sv\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>${title}</title>
<style>
body { max-width: 44em; margin: 1em auto; padding: 0 1em; font-family: sans-serif; line-height: 1.5; }
pre { padding: 0.5em; border: 1px solid; overflow-x: auto; }
blockquote { margin-left: 0; padding-left: 1em; border-left: 4px solid; }
</style>
</head>
<body>
${body}</body>
</html>
")
