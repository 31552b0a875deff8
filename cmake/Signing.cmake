# Authenticode signing inside the build, when a certificate is given:
#   -DTOLVANE_SIGN_PKCS12=<certificate and private key, PKCS#12>
#   -DTOLVANE_SIGN_PASSWORD_FILE=<file whose first line is its password>
#   -DTOLVANE_SIGN_TIMESTAMP_URL=<RFC 3161 timestamp server> (optional)
# Each program is signed right after it is linked, so that what depends on it
# (Setup's held hashes, the MSI) is made from the signed file. Without a
# certificate nothing is signed.
set(TOLVANE_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file to sign the programs and packages with (empty: unsigned)")
set(TOLVANE_SIGN_PASSWORD_FILE "" CACHE FILEPATH "file holding the PKCS#12 file's password")
set(TOLVANE_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 timestamp server for the signatures (optional)")

set(TOLVANE_SIGN_COMMAND "")
if(TOLVANE_SIGN_PKCS12)
  foreach(_sign_file IN ITEMS TOLVANE_SIGN_PKCS12 TOLVANE_SIGN_PASSWORD_FILE)
    if(NOT ${_sign_file} OR NOT EXISTS "${${_sign_file}}" OR IS_DIRECTORY "${${_sign_file}}")
      message(FATAL_ERROR "Signing: ${_sign_file} names no file (\"${${_sign_file}}\"). Give both "
        "TOLVANE_SIGN_PKCS12 and TOLVANE_SIGN_PASSWORD_FILE, or neither for an unsigned build.")
    endif()
  endforeach()
  find_program(OSSLSIGNCODE_PROGRAM osslsigncode)
  if(NOT OSSLSIGNCODE_PROGRAM)
    message(FATAL_ERROR "Signing: osslsigncode is missing (Debian package osslsigncode)")
  endif()
  set(TOLVANE_SIGN_COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/sign.py
    --pkcs12 ${TOLVANE_SIGN_PKCS12} --password-file ${TOLVANE_SIGN_PASSWORD_FILE}
    --timestamp-url=${TOLVANE_SIGN_TIMESTAMP_URL} --remove-on-failure)
  # A new certificate or password signs everything again.
  set(TOLVANE_SIGN_INPUTS ${TOLVANE_SIGN_PKCS12} ${TOLVANE_SIGN_PASSWORD_FILE})
  message(STATUS "Signing with ${TOLVANE_SIGN_PKCS12}")
elseif(TOLVANE_SIGN_PASSWORD_FILE OR TOLVANE_SIGN_TIMESTAMP_URL)
  message(FATAL_ERROR "Signing: TOLVANE_SIGN_PASSWORD_FILE or TOLVANE_SIGN_TIMESTAMP_URL given without "
    "TOLVANE_SIGN_PKCS12")
endif()

# Signs target's file in place after each link, named `description` in the signature.
function(tolvane_sign_after_link target description)
  if(TOLVANE_SIGN_COMMAND)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${TOLVANE_SIGN_COMMAND} --description ${description} $<TARGET_FILE:${target}>
      VERBATIM)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${TOLVANE_SIGN_INPUTS})
  endif()
endfunction()
