// A file the page made, handed to the user: on a phone (a coarse pointer) the system's share sheet
// when it takes files, else, and when sharing fails, a download. The download's address is kept a
// while for the browser to read it, then let go.
const kKeepDownloadMs = 30000;

function download(blob, name) {
  const url = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), kKeepDownloadMs);
}

export function handOver(blob, name) {
  const file = new File([blob], name, { type: blob.type });
  if (matchMedia('(pointer: coarse)').matches && navigator.canShare?.({ files: [file] })) {
    navigator.share({ files: [file] }).catch((failure) => {
      if (failure.name !== 'AbortError') {
        download(blob, name);
      }
    });
    return;
  }
  download(blob, name);
}
