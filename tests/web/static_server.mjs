// Python's plain static file server on a free port of 127.0.0.1, for the browser test and the tab
// CPU measurement: no special headers, as any static host serves the page.
import {spawn} from 'node:child_process';

// Serves `root`; resolves to {server, port} once the server says which port it took.
export function startServer(root) {
  return new Promise((resolve, reject) => {
    const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1',
      '--directory', root], {stdio: ['ignore', 'pipe', 'ignore']});
    let said = '';
    server.stdout.on('data', (chunk) => {
      said += chunk;
      const port = /port (\d+)/.exec(said);
      if (port) resolve({server, port: Number(port[1])});
    });
    server.on('exit', (code) => reject(new Error(`the static server ended (${code})`)));
  });
}
