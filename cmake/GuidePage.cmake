# Makes one guide page: the converter's HTML of the Markdown in a page of its own, titled by the first
# heading. Run with -DMARKDOWN= -DSOURCE= -DPAGE= -DLANG=.
execute_process(COMMAND ${MARKDOWN} -x tables -e utf-8 ${SOURCE}
                OUTPUT_VARIABLE body ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "markdown_py failed on ${SOURCE} (${status}): ${errors}")
endif()
# The guides link to each other as Markdown files; the pages link to the pages.
string(REGEX REPLACE "href=\"guide\\.([a-z]+)\\.md\"" "href=\"guide.\\1.html\"" body "${body}")
file(STRINGS ${SOURCE} headings REGEX "^# " LIMIT_COUNT 1 ENCODING UTF-8)
string(REGEX REPLACE "^# +" "" title "${headings}")
string(REPLACE "&" "&amp;" title "${title}")
string(REPLACE "<" "&lt;" title "${title}")
file(WRITE ${PAGE} "<!DOCTYPE html>
<html lang=\"${LANG}\">
<head>
<meta charset=\"utf-8\">
<title>${title}</title>
<style>body { max-width: 50em; margin: 1em auto; padding: 0 1em; font-family: sans-serif; line-height: 1.6 }
img { max-width: 100% } table { border-collapse: collapse } th, td { border: 1px solid #999; padding: 0.2em 0.5em }</style>
</head>
<body>
${body}</body>
</html>
")
