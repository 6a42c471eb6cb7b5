# SPDX-License-Identifier: MIT
# Read by cpack as it packages: the version of the build that was made, and the
# commit's time for every time stamp in the archive, so that one commit always gives
# the same bytes. A time the packager already set wins.
include("${CPACK_VELLUMARK_BUILD_INFO}")
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} "${VELLUMARK_COMMIT_TIME}")
endif()
