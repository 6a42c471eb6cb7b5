# SPDX-License-Identifier: MIT
# Creates DST from SRC only when DST does not exist yet.
if(NOT EXISTS "${DST}")
  file(COPY_FILE "${SRC}" "${DST}")
endif()
