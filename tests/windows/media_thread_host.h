// The wine host's media_thread scenarios (media_thread_host.cpp).
#pragma once

void MediaThreadOnRecorder();
void MediaThreadLoads(int loads);
void MediaThreadUnloadDuringOpen();
