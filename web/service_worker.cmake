# Writes the site's service worker from its template: the files it keeps, and a version
# that is a hash of those files and of the template, so that any change to the site gives
# browsers a new worker (and the same files the same one, never reinstalled for nothing).
#   cmake -DSITE=folder -DFILES=a,b,... -DTEMPLATE=file.in -DOUTPUT=file -P service_worker.cmake
string(REPLACE "," ";" files "${FILES}")
file(SHA256 ${TEMPLATE} hashes)
set(names "")
foreach(file IN LISTS files)
    file(SHA256 ${SITE}/${file} hash)
    string(APPEND hashes "\n${file} ${hash}")
    list(APPEND names "'${file}'")
endforeach()
string(SHA256 SITE_VERSION "${hashes}")
string(SUBSTRING ${SITE_VERSION} 0 16 SITE_VERSION)
list(JOIN names ", " SITE_FILES)
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
