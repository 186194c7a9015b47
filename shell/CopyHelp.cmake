# Copies the user guide (SOURCE) beside the program (TARGET); a missing guide copies nothing.
if(EXISTS "${SOURCE}")
  file(MAKE_DIRECTORY "${TARGET}")
  file(COPY "${SOURCE}/" DESTINATION "${TARGET}")
endif()
