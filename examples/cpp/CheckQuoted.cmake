# Fails unless the document DOCUMENT holds the text of the file QUOTED unchanged.
file(READ ${DOCUMENT} document)
file(READ ${QUOTED} quoted)
string(FIND "${document}" "${quoted}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${DOCUMENT} does not show ${QUOTED} as it stands")
endif()
