// Opening a page in the user's default web browser.
#pragma once

// Opens `url` in the default browser named by the file associations under
// HKEY_CLASSES_ROOT and returns once the browser has been started, without waiting for it.
// `url` is a web address, a bare host name or a "file://" URL; null counts as empty.
// Returns 1 when the browser was started (with the URL, or after a failed first start
// without it), or when a browser was found and the URL is empty (nothing is started).
// Returns 0 when no browser command was found, its template holds neither "%1" nor
// "-nohome", both starts failed, or a working buffer could not be allocated.
int LaunchBrowser(const char *url);
